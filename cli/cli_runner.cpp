#include "cli/cli_runner.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <ostream>
#include <unistd.h>

#include "app/command.h"
#include "app/data_paths.h"
#include "app/errors.h"
#include "app/file_commands.h"
#include "app/version.h"
#include "cli/cli_user_interface.h"
#include "cli/command_help.h"
#include "i18n/message_catalogue.h"
#include "serial/hand_over.h"
#include "serial/instrument_link.h"
#include "serial/serial_link.h"
#include "zeiss/address_continuity.h"
#include "adjustment/adjustment_options.h"

namespace tarvosen {

namespace {

namespace fs = std::filesystem;


fs::path Absolute(const fs::path& p) { return p.is_absolute() ? p : fs::absolute(p); }

struct Invocation {
    const CommandRow* row = nullptr;
    std::vector<std::pair<const CliOption*, std::string>> options;
    std::optional<fs::path> input;
    std::vector<fs::path> inputs;  // every INPUT of a command that takes several
    std::optional<fs::path> output;
    bool help = false;
};

Invocation Parse(const CommandRow& row, const std::vector<std::string>& args) {
    Invocation inv;
    inv.row = &row;
    const auto options = OptionsOf(row);
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            inv.help = true;
        } else if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size()) throw UsageError(a + " needs a file name");
            inv.output = Absolute(args[++i]);
        } else if (a.rfind("--", 0) == 0) {
            std::string name = a.substr(2), value;
            const auto eq = name.find('=');
            const bool inlineValue = eq != std::string::npos;
            if (inlineValue) {
                value = name.substr(eq + 1);
                name.resize(eq);
            }
            const CliOption* found = nullptr;
            for (const auto& o : options)
                if (o.name == name) found = &o;
            if (!found)
                throw UsageError("unknown option --" + name + " for " + std::string(row.cliName));
            if (!found->valueName.empty() && !inlineValue) {
                if (i + 1 >= args.size()) throw UsageError("--" + name + " needs a value");
                value = args[++i];
            } else if (found->valueName.empty() && inlineValue) {
                throw UsageError("--" + name + " takes no value");
            }
            inv.options.emplace_back(found, value);
        } else if (a.size() > 1 && a[0] == '-') {
            throw UsageError("unknown option " + a);
        } else {
            if (inv.input && !row.cliManyInputs)
                throw UsageError("more than one INPUT given: " + a);
            if (!inv.input) inv.input = Absolute(a);
            inv.inputs.push_back(Absolute(a));
        }
    }
    if (inv.help) return inv;
    if (row.cliNeedsInput && !inv.input)
        throw UsageError(std::string(row.cliName) + " needs INPUT");
    if (!row.cliNeedsInput && inv.input)
        throw UsageError(std::string(row.cliName) + " takes no INPUT");
    if (row.cliOutput == CliOutput::ChosenFile && !inv.output)
        throw UsageError(std::string(row.cliName) + " needs -o OUTPUT");
    return inv;
}

// The language index of --language or TARVOSEN_LANGUAGE: 1 en, 2 gb, 3 big5.
int LanguageIndex(const std::string& name, const std::string& where) {
    if (name == "en") return 1;
    if (name == "gb") return 2;
    if (name == "big5") return 3;
    throw UsageError(where + " takes en, gb or big5, not \"" + name + "\"");
}

// Takes --language out of the arguments, wherever it stands; messages are in
// English unless it or TARVOSEN_LANGUAGE says otherwise.
int TakeLanguage(std::vector<std::string>& args) {
    int index = 1;
    if (const char* env = std::getenv("TARVOSEN_LANGUAGE"); env && *env)
        index = LanguageIndex(env, "TARVOSEN_LANGUAGE");
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "--language") {
            if (i + 1 >= args.size()) throw UsageError("--language needs en, gb or big5");
            index = LanguageIndex(args[i + 1], "--language");
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i + 2));
        } else if (args[i].rfind("--language=", 0) == 0) {
            index = LanguageIndex(args[i].substr(11), "--language");
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    return index;
}

// Takes the flag `name` (--quiet, --strict) out of the arguments, wherever it
// stands; true when it was given.
bool TakeFlag(std::vector<std::string>& args, std::string_view name) {
    bool given = false;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == name) {
            given = true;
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    return given;
}

// The flags that hold for every command.
struct RunFlags {
    int languageIndex = 1;
    bool quiet = false;
    bool strict = false;
};

int RunCommandBody(const Invocation& inv, CommandContext& ctx, std::ostream& out);

int RunCommand(const Invocation& inv, const RunFlags& flags, std::ostream& out, std::ostream& err) {
    OptionsStore options;
    // Products the window offers by a check box are written here only when
    // their option names the file.
    options.get<TraverseOptions>().produceBook = false;
    for (const auto& [option, value] : inv.options) option->apply(options, value);

    Workspace workspace;
    AppState state;
    state.startDirectory = fs::current_path();
    state.currentDocumentName = (state.startDirectory / kDefaultDocumentName).string();
    MessageCatalogue catalogue;
    if (auto file = FindDataFile(kMessageCatalogueFile)) catalogue.load(*file);
    state.languageIndex = flags.languageIndex;
    state.strictReading = flags.strict;

    CliUserInterface user(err, inv.input, inv.output);
    user.setQuiet(flags.quiet);
    user.setProgressShown(&err == &std::cerr && isatty(STDERR_FILENO));
    SubsystemStore subsystems;
    CommandContext ctx{workspace, state, user, options, catalogue, subsystems};

    // The serial port of the run, closed before the context goes. Its events
    // run on this thread while a command serves them.
    TaskQueue portEvents;
    SerialPort serialPort(portEvents);
    ApplyWindowPortSettings(serialPort);
    InstrumentLink link(serialPort, ctx, nullptr);
    SerialLinkOf(ctx).port = &serialPort;
    try {
        return RunCommandBody(inv, ctx, out);
    } catch (const Failure& e) {
        err << "error: " << e.text(TextsOf(ctx)) << '\n';
        return kExitFailure;
    }
}

// Runs the command of `inv` in its context and writes its result.
int RunCommandBody(const Invocation& inv, CommandContext& ctx, std::ostream& out) {
    const CommandRow& row = *inv.row;
    AppState& state = ctx.state;
    Workspace& workspace = ctx.workspace;
    if (row.cliManyInputs) {
        state.inputFiles = inv.inputs;  // the command reads each itself
    } else if (inv.input) {
        LoadDocument(ctx, *inv.input);
        zeiss::ReportAddressContinuity(ctx, inv.input->filename().string());
    }

    const CommandStatus status = row.handler(ctx);
    if (status == CommandStatus::Found) return kExitFound;
    // An interrupted command has reported its failure; what it got so far
    // is written all the same, as the window would keep it.
    if (status != CommandStatus::Done && status != CommandStatus::Interrupted &&
        status != CommandStatus::Found)
        return kExitStopped;

    if (row.cliOutput == CliOutput::Workspace) {
        if (inv.output) {
            workspace.save(*inv.output);
        } else {
            for (std::string_view line : workspace.view()) out << line << "\r\n";
            out.flush();
            if (!out) throw FileError(std::string("Cannot write to standard output: ") +
                                      std::strerror(errno ? errno : EIO));
        }
    }
    if (status == CommandStatus::Found) return kExitFound;
    return status == CommandStatus::Interrupted ? kExitFailure : kExitDone;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    try {
        std::vector<std::string> args = arguments;
        RunFlags flags;
        flags.languageIndex = TakeLanguage(args);
        flags.quiet = TakeFlag(args, "--quiet");
        flags.strict = TakeFlag(args, "--strict");
        if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
            (args.empty() ? err : out) << ProgramHelpText();
            return args.empty() ? kExitUsage : kExitDone;
        }
        if (args[0] == "--version") {
            out << "tarvosen-cli " << kVersionText << '\n';
            return kExitDone;
        }
        if (args[0] == "list") {
            out << CommandListText();
            return kExitDone;
        }
        const CommandRow* row = FindCommandByCliName(args[0]);
        if (!row) {
            err << "error: unknown command \"" << args[0] << "\"\n" << ProgramUsageText();
            return kExitUsage;
        }
        Invocation inv = Parse(*row, args);
        if (inv.help) {
            out << CommandHelpText(*row);
            return kExitDone;
        }
        return RunCommand(inv, flags, out, err);
    } catch (const UsageError& e) {
        err << "error: " << e.what() << '\n';
        return kExitUsage;
    } catch (const std::exception& e) {
        err << "error: " << e.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace tarvosen
