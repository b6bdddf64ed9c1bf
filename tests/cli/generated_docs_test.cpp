// The manual page and the bash completion are generated from the command
// table; here they are read back the way a user meets them (groff renders the
// page, bash runs the completion) and compared with what tarvosen-cli itself
// says in `list` and `COMMAND --help`.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <set>
#include <sstream>

#include "cli/bash_completion.h"
#include "cli/cli_runner.h"
#include "cli/manual_pages.h"
#include "tests/support/child_process.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

using Words = std::set<std::string>;

std::string CliOut(std::vector<std::string> args) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(args, out, err), 0) << err.str();
    return out.str();
}

std::vector<std::string> CommandNames() {
    std::vector<std::string> names;
    std::istringstream list(CliOut({"list"}));
    for (std::string name, rest; list >> name && std::getline(list, rest);) names.push_back(name);
    return names;
}

// "--name VALUE" heads of the options `COMMAND --help` lists.
std::vector<std::pair<std::string, std::string>> HelpOptions(const std::string& command) {
    std::vector<std::pair<std::string, std::string>> options;
    const std::string help = CliOut({command, "--help"});
    static const std::regex head(R"(\n  (--[a-z-]+)(?: (\S+))?)");
    for (std::sregex_iterator it(help.begin(), help.end(), head), end; it != end; ++it)
        options.emplace_back((*it)[1], (*it)[2]);
    return options;
}

std::string WithoutBlanks(std::string text) {
    std::erase_if(text, [](unsigned char c) { return std::isspace(c); });
    return text;
}

TEST(GeneratedDocs, ManualPageSaysWhatHelpSays) {
    test::TestContext t;
    const auto page = t.writeFile("tarvosen-cli.1", CliManualPage());
    const auto desktop = t.writeFile("tarvosen.1", DesktopManualPage());
    const auto render = [](const std::filesystem::path& file) {
        auto r = test::RunProgramInChild(
            {}, {"/usr/bin/groff", "-k", "-man", "-Tutf8", "-ww", "-P-cbou", file.string()});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_EQ(r.output.find("troff:"), std::string::npos) << r.output;  // no warning
        return WithoutBlanks(r.output);
    };
    const std::string cliText = render(page), desktopText = render(desktop);

    const auto names = CommandNames();
    ASSERT_GT(names.size(), 10u);
    for (const auto& name : names) {
        std::string help = CliOut({name, "--help"});
        ASSERT_EQ(help.rfind("usage: ", 0), 0u);
        EXPECT_NE(cliText.find(WithoutBlanks(help.substr(7))), std::string::npos) << help;
        EXPECT_NE(desktopText.find("tarvosen-cli" + name), std::string::npos) << name;
    }

    // Each exit status of `tarvosen-cli --help` with its meaning.
    std::string general = CliOut({"--help"});
    std::replace(general.begin(), general.end(), '\n', ' ');
    static const std::regex status(R"((\d) (.+?)(?:, (?=\d )|\. ))");
    const auto exitStart = general.find("Exit status:");
    const auto exitText = general.substr(exitStart, general.find("Commands:") - exitStart);
    int statuses = 0;
    for (std::sregex_iterator it(exitText.begin(), exitText.end(), status), end; it != end; ++it) {
        EXPECT_NE(cliText.find(WithoutBlanks((*it)[1].str() + (*it)[2].str())), std::string::npos)
            << (*it)[0];
        ++statuses;
    }
    EXPECT_EQ(statuses, 5);
}

TEST(GeneratedDocs, BashCompletesCommandsOptionsValuesAndFiles) {
    test::TestContext t;
    const auto script = t.writeFile("tarvosen-cli.bash", CliBashCompletion());
    t.writeFile("survey.r5", "");
    t.writeFile("book.xlsx", "");
    const auto complete = [&](std::vector<std::string> words) {
        std::vector<std::string> argv{
            "/bin/bash", "-c",
            "cd \"$1\" && source \"$2\" && shift 2 && COMP_WORDS=(tarvosen-cli \"$@\") && "
            "COMP_CWORD=$#; _tarvosen_cli; printf '%s\\n' \"${COMPREPLY[@]}\"",
            "bash", t.dir().string(), script.string()};
        argv.insert(argv.end(), words.begin(), words.end());
        const auto r = test::RunProgramInChild({}, argv);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        Words result;
        std::istringstream lines(r.output);
        for (std::string line; std::getline(lines, line);)
            if (!line.empty()) result.insert(line);
        return result;
    };

    Words commands{"list", "--help", "--version"};
    for (const auto& name : CommandNames()) commands.insert(name);
    EXPECT_EQ(complete({""}), commands);

    int choices = 0;
    for (const auto& name : CommandNames()) {
        Words options{"--output", "--help"};
        for (const auto& [option, value] : HelpOptions(name)) {
            options.insert(option);
            // A value written as a|b|c, or as a range m..n, is completed.
            Words values;
            std::smatch range;
            if (value.find('|') != std::string::npos) {
                std::istringstream parts(value);
                for (std::string part; std::getline(parts, part, '|');) values.insert(part);
            } else if (std::regex_match(value, range, std::regex(R"((\d+)\.\.(\d+))"))) {
                for (int n = std::stoi(range[1]); n <= std::stoi(range[2]); ++n)
                    values.insert(std::to_string(n));
            } else {
                continue;
            }
            EXPECT_EQ(complete({name, option, ""}), values) << name << ' ' << option;
            ++choices;
        }
        EXPECT_EQ(complete({name, "--"}), options) << name;
    }
    EXPECT_GE(choices, 10);  // --class 1|2|3, --parity, --flow, --record-format, ...

    const Words files{"survey.r5", "book.xlsx", "tarvosen-cli.bash"};
    EXPECT_EQ(complete({"r5-to-m5", ""}), files);
    EXPECT_EQ(complete({"r5-to-m5", "-o", ""}), files);
    EXPECT_EQ(complete({"dini-book-checked", "--class", "2"}), Words{"2"});
}

}  // namespace
}  // namespace tarvosen
