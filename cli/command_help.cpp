#include "cli/command_help.h"

#include <algorithm>
#include <array>

namespace tarvosen {

namespace {

constexpr std::array<std::string_view, 2> kSynopses{
    "COMMAND [OPTIONS] [INPUT] [-o OUTPUT]",
    "list | --help | --version | COMMAND --help",
};

constexpr std::array<ExitStatusMeaning, 5> kExitStatuses{{
    {0, "done"},
    {1, "stopped with its own message"},
    {2, "wrong usage"},
    {3, "a file, number or device failure"},
    {4, "a checking command found what it checks for"},
}};

// Lines no longer than this: the exit statuses wrap between their entries.
constexpr std::size_t kTextWidth = 79;

std::string PaddedTo(std::string text, std::size_t width) {
    text.resize(std::max(text.size() + 2, width), ' ');
    return text;
}

// head followed by text, broken between words so that no line is longer
// than kTextWidth where the words allow; later lines start at `indent`
// blanks. Every line ends in '\n'.
std::string Wrapped(const std::string& head, std::string_view text, std::size_t indent) {
    std::string out, line = head;
    bool lineHasWord = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t space = text.find(' ', at);
        const std::string_view word =
            text.substr(at, space == std::string_view::npos ? std::string_view::npos : space - at);
        at = space == std::string_view::npos ? text.size() : space + 1;
        if (word.empty()) continue;
        if (lineHasWord && line.size() + 1 + word.size() > kTextWidth) {
            out += line + "\n";
            line = std::string(indent, ' ');
            lineHasWord = false;
        }
        if (lineHasWord) line += ' ';
        line += word;
        lineHasWord = true;
    }
    return out + line + "\n";
}

}  // namespace

const std::string_view kProgramDescription =
    "Runs one command of the Tarvosen Data Processor. INPUT is loaded into the\n"
    "workspace as Load does; the result is written to OUTPUT (or, for commands\n"
    "whose result is text, to standard output when -o is not given).\n"
    "Messages go to standard error, prefixed with information:, warning: or error:.\n"
    "They are in English; --language en|gb|big5, anywhere on the line, or the\n"
    "environment variable TARVOSEN_LANGUAGE chooses English, Simplified Chinese or\n"
    "Traditional Chinese.\n"
    "A run that reads a file ends with one line, prefixed with note:, saying what\n"
    "was read and written; --quiet leaves it out. --strict makes any line a\n"
    "reader does not understand an error: the run then writes nothing. Both may\n"
    "stand anywhere on the line.\n";

std::span<const std::string_view> ProgramSynopses() { return kSynopses; }

std::span<const ExitStatusMeaning> ExitStatuses() { return kExitStatuses; }

std::vector<const CommandRow*> CliCommands() {
    std::vector<const CommandRow*> rows;
    for (const auto& row : CommandTable())
        if (!row.cliName.empty()) rows.push_back(&row);
    return rows;
}

std::string CaptionOf(const CommandRow& row) {
    if (!row.english.text.empty()) return std::string(row.english.text);
    return std::string(row.gb.text);
}

std::span<const CliOption> OptionsOf(const CommandRow& row) {
    return row.cliOptions ? row.cliOptions() : std::span<const CliOption>{};
}

std::string CommandUsage(const CommandRow& row) {
    std::string usage = "tarvosen-cli " + std::string(row.cliName) + " [OPTIONS]";
    if (row.cliNeedsInput) usage += row.cliManyInputs ? " INPUT..." : " INPUT";
    if (row.cliOutput == CliOutput::ChosenFile) usage += " -o OUTPUT";
    if (row.cliOutput == CliOutput::Workspace) usage += " [-o OUTPUT]";
    return usage;
}

std::string OptionHead(const CliOption& option) {
    std::string head = "--" + std::string(option.name);
    if (!option.valueName.empty()) head += " " + std::string(option.valueName);
    return head;
}

std::string ProgramUsageText() {
    std::string text;
    for (std::size_t i = 0; i < kSynopses.size(); ++i)
        text += (i ? "       tarvosen-cli " : "usage: tarvosen-cli ") + std::string(kSynopses[i]) + "\n";
    return text;
}

std::string ProgramHelpText() {
    std::string text = ProgramUsageText() + "\n" + std::string(kProgramDescription);
    std::string line = "Exit status:";
    for (std::size_t i = 0; i < kExitStatuses.size(); ++i) {
        const std::string entry = std::to_string(kExitStatuses[i].status) + " " +
                                  std::string(kExitStatuses[i].meaning) +
                                  (i + 1 < kExitStatuses.size() ? "," : ".");
        if (line.size() + 1 + entry.size() > kTextWidth) {
            text += line + "\n";
            line = entry;
        } else {
            line += " " + entry;
        }
    }
    text += line + "\n\nCommands:\n" + CommandListText();
    return text;
}

std::string CommandListText() {
    std::string text;
    for (const CommandRow* row : CliCommands()) {
        // One line a command; one the menus do not offer shows its summary.
        const std::string caption = CaptionOf(*row);
        text += "  " + PaddedTo(std::string(row->cliName), 22) +
                (caption.empty() ? std::string(row->cliSummary) : caption) + "\n";
    }
    return text;
}

std::string WindowPlaceOf(const CommandRow& row) {
    const std::string caption = CaptionOf(row);
    return caption.empty() ? std::string() : "In the window: " + caption;
}

std::string CommandHelpText(const CommandRow& row) {
    std::string text = "usage: " + CommandUsage(row) + "\n\n" + Wrapped("", row.cliSummary, 0);
    if (const std::string place = WindowPlaceOf(row); !place.empty()) text += place + "\n";
    const auto options = OptionsOf(row);
    if (!options.empty()) {
        text += "\nOptions:\n";
        for (const auto& o : options) text += Wrapped("  " + PaddedTo(OptionHead(o), 28), o.help, 30);
    }
    return text;
}

}  // namespace tarvosen
