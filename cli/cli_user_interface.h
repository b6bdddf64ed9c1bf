#pragma once
// The user side of a command on the command line: dialogs are answered by
// the options, messages go to standard error one line each with a prefix.

#include <chrono>
#include <filesystem>
#include <iosfwd>
#include <optional>

#include "app/user_interface.h"

namespace tarvosen {

class CliUserInterface : public UserInterface {
public:
    CliUserInterface(std::ostream& err, std::optional<std::filesystem::path> input,
                     std::optional<std::filesystem::path> output);

    void showMessage(MessageKind kind, const std::string& text) override;
    // "note: ..." on standard error, unless quiet.
    void showNote(const std::string& text) override;
    void setQuiet(bool quiet) { quiet_ = quiet; }
    // No one can answer here: a question is refused with an error.
    bool confirm(const std::string& question) override;
    bool canAsk() const override { return false; }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string& filter,
                                                        const std::string& ext) override;
    std::optional<std::filesystem::path> chooseOpenFile(const std::string& filter) override;
    bool showOptionDialog(OptionDialog dialog) override;
    void setCaption(const std::string&) override {}
    // The progress bar is a count on one line of standard error, shown only
    // when asked for (standard error is a terminal).
    void setProgressShown(bool shown) { progressShown_ = shown; }
    void progressBegin(int maximum) override;
    void progressSetPosition(int position) override;
    void progressEnd() override;

    int messageCount(MessageKind kind) const { return counts_[static_cast<int>(kind)]; }

private:
    void drawProgress();

    std::ostream& err_;
    std::optional<std::filesystem::path> input_;
    std::optional<std::filesystem::path> output_;
    int counts_[3] = {0, 0, 0};
    bool quiet_ = false;
    bool progressShown_ = false;
    bool progressOnScreen_ = false;
    int progressMaximum_ = 0;
    int progressPosition_ = 0;
    std::chrono::steady_clock::time_point progressDrawn_{};
};

}  // namespace tarvosen
