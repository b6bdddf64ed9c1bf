#pragma once
// A command of the system and the rows of the command table.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_context.h"

namespace tarvosen {

enum class CommandStatus {
    Done,       // finished its work
    Stopped,    // ended with its own message (a file that is not R5, say)
    Cancelled,  // the user cancelled a dialog
    // Ended by a failure it has reported, with part of its result in the
    // workspace worth keeping (a download cut off when the device went away).
    Interrupted,
    // A checking command ran to its end and found what it checks for.
    Found,
};

using CommandHandler = CommandStatus (*)(CommandContext&);

// A command-line option that answers a dialog: apply() writes the value into
// the dialog's struct and throws UsageError when the value is not acceptable.
struct CliOption {
    std::string_view name;       // without the leading "--"
    std::string_view valueName;  // empty for a flag
    std::string_view help;
    void (*apply)(OptionsStore& options, const std::string& value);
};

// What the command line writes after the command has run.
enum class CliOutput {
    None,       // the command writes nothing itself (or only to a device)
    Workspace,  // the workspace is saved to OUTPUT, or printed on standard output
    ChosenFile, // OUTPUT answers the command's save dialog (file or workbook)
};

enum class RowKind { Menu, Item, Separator };

// A caption in one menu bar and the key of the menu that holds it there.
// An empty text means the bar has no such item.
struct MenuPlace {
    std::string_view text;
    std::string_view parent;  // empty for a top-level menu
};

struct CommandRow {
    RowKind kind;
    std::string_view key;  // the handler's name for items, a menu key for menus
    MenuPlace english, gb, big5;
    CommandHandler handler = nullptr;  // nullptr: the front end handles it by key
    std::string_view radioGroup = {};  // "instrument" or "language"
    int radioValue = 0;
    std::string_view cliName = {};  // empty: not offered on the command line
    std::string_view cliSummary = {};
    std::span<const CliOption> (*cliOptions)() = nullptr;
    CliOutput cliOutput = CliOutput::None;
    bool cliNeedsInput = true;  // the command reads INPUT into the workspace
    // INPUT... : the paths go to AppState::inputFiles and the command reads them.
    bool cliManyInputs = false;
};

// The one command table; menu bars, toolbar and command list are built from it.
std::span<const CommandRow> CommandTable();
const CommandRow* FindCommandByKey(std::string_view key);
const CommandRow* FindCommandByCliName(std::string_view cliName);

struct ToolbarButton {
    std::string_view key;  // command key; empty for a separator
    // The tooltip in each language: English, GB, Big5.
    std::string_view english, gb, big5;
    std::string_view hint(int languageIndex) const {
        return languageIndex == 1 ? english : languageIndex == 3 ? big5 : gb;
    }
};
std::span<const ToolbarButton> ToolbarLayout();

// Throws NotBuiltError naming the command.
[[noreturn]] void ThrowNotBuilt(std::string_view what);

}  // namespace tarvosen
