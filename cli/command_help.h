#pragma once
// The help texts of the command-line program, read from the command table.
// --help prints them; the manual pages and the shell completion are
// generated from the same functions, so all three say the same.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/command.h"

namespace tarvosen {

// The program's forms of use, each without the program name.
std::span<const std::string_view> ProgramSynopses();

// What the program does, as `tarvosen-cli --help` says it (lines end in '\n').
extern const std::string_view kProgramDescription;

struct ExitStatusMeaning {
    int status;
    std::string_view meaning;
};
// Every exit status of the program; the same for every command.
std::span<const ExitStatusMeaning> ExitStatuses();

// The commands offered on the command line, in the order of the table.
std::vector<const CommandRow*> CliCommands();

// The command's caption in the English menu bar, or the GB one where the
// English bar has no such item.
std::string CaptionOf(const CommandRow& row);

// "In the window: CAPTION", or empty for a command the menus do not offer.
std::string WindowPlaceOf(const CommandRow& row);

// The options a command takes besides -o and --help.
std::span<const CliOption> OptionsOf(const CommandRow& row);

// "tarvosen-cli NAME [OPTIONS] INPUT -o OUTPUT", as the command's INPUT and
// OUTPUT require.
std::string CommandUsage(const CommandRow& row);

// "--name VALUE" of an option.
std::string OptionHead(const CliOption& option);

// The forms of use as the program prints them after a usage error.
std::string ProgramUsageText();

// What `tarvosen-cli --help`, `tarvosen-cli list` and
// `tarvosen-cli COMMAND --help` print.
std::string ProgramHelpText();
std::string CommandListText();
std::string CommandHelpText(const CommandRow& row);

}  // namespace tarvosen
