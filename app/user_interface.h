#pragma once
// The user as a command sees them: messages, questions, file choices, option
// dialogs, the caption and the progress bar. The window answers with Qt
// dialogs, the command line from its flags, tests from a script.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/option_dialog.h"

namespace tarvosen {

enum class MessageKind { Information, Warning, Error };

// A finding of a check about one line of a file (an address gap, a height
// that does not follow from the readings).
struct LineFinding {
    std::string file;
    std::size_t line = 0;
    std::string text;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual void showMessage(MessageKind kind, const std::string& text) = 0;
    void information(const std::string& text) { showMessage(MessageKind::Information, text); }
    void warning(const std::string& text) { showMessage(MessageKind::Warning, text); }
    void error(const std::string& text) { showMessage(MessageKind::Error, text); }

    // The one summary line of a run (what was read and written): the
    // command line writes it to standard error unless --quiet, the window
    // shows it in its status line.
    virtual void showNote(const std::string& /*text*/) {}

    // A Yes/No question; true only for Yes.
    virtual bool confirm(const std::string& question) = 0;
    // False where no one can answer a question (the command line): a command
    // then says what it did, or refuses what it would have asked about.
    virtual bool canAsk() const { return true; }

    // File choices. The filter is in the form "Text File(*.Txt)|*.Txt|All(*.*)|*.*".
    // A name typed without an extension gets defaultExtension when it is given.
    virtual std::optional<std::filesystem::path> chooseSaveFile(
        const std::string& filter, const std::string& defaultExtension = {}) = 0;
    virtual std::optional<std::filesystem::path> chooseOpenFile(const std::string& filter) = 0;

    // Shows an option dialog modally; true for OK (or the dialog's start button).
    virtual bool showOptionDialog(OptionDialog dialog) = 0;

    virtual void setCaption(const std::string& caption) = 0;

    // Where a command can be cancelled, begin and set-position throw when it
    // was; progressEnd never does, as it runs while a command unwinds.
    virtual void progressBegin(int maximum) = 0;
    virtual void progressSetPosition(int position) = 0;
    virtual void progressEnd() = 0;

    // Called by a command just before it replaces a file with its output, the
    // moment after which it can no longer be undone. Where the command can be
    // cancelled (the window's background commands) it throws when it was,
    // and a cancel that comes later is too late: the command finishes.
    virtual void commitOutput() {}
    // Opens a saved document with the desktop's program for it (the window
    // only; elsewhere it is a no-op).
    virtual void openWithDesktop(const std::filesystem::path& /*path*/) {}

    // The findings of a check: the window lists them (a click shows the
    // line) and counts them in the status bar, in place of the findings it
    // showed, or after them with `append`; elsewhere each is a warning.
    virtual void showLineFindings(const std::vector<LineFinding>& findings, bool append = false) {
        (void)append;
        for (const auto& f : findings)
            warning(f.file + ":" + std::to_string(f.line) + ": " + f.text);
    }
};

}  // namespace tarvosen
