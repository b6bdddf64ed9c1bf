#pragma once
// Everything a command may touch. A command's body is core code that talks to
// the user only through this context, so the same command runs in the window,
// on the command line and in tests.

#include <filesystem>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/options_store.h"
#include "app/user_interface.h"
#include "app/workspace.h"
#include "i18n/message_catalogue.h"

namespace tarvosen {

class MessageCatalogue;

// What the subsystems keep between commands other than option values, each
// under a type the subsystem declares.
using SubsystemStore = TypeStore<struct SubsystemObjects>;

struct CommandContext {
    Workspace& workspace;
    AppState& state;
    UserInterface& user;
    OptionsStore& options;
    const MessageCatalogue& catalogue;
    SubsystemStore& subsystems;

    // Sets the window caption and remembers it.
    void setCaption(const std::string& caption);

    // The catalogue text base + LanguageIndex, or englishDefault when the
    // catalogue has none.
    std::string message(int base, std::string_view englishDefault) const;
};

// The catalogue's texts in the language the command runs in, for code that
// builds messages away from the context.
MessageTexts TextsOf(const CommandContext& ctx);

// The document name without its folders, as messages name the file.
std::string DocumentFileName(const CommandContext& ctx);

// True for the line that ends a download: "END" alone or padded with blanks
// to the record width (as the Elta R55 sends it); not "END" followed by text.
bool IsEndLine(std::string_view line);

// Appends a line; an END line (IsEndLine) resets the document name and the
// caption to StartDirectory + "NONAME.TXT".
void AppendWorkspaceLine(CommandContext& ctx, std::string line);

}  // namespace tarvosen
