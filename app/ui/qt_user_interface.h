#pragma once
// The user side of a command in the desktop program: Qt message boxes, Yes/No
// questions, file dialogs, the option dialogs, the window caption and the
// status-bar progress bar.

#include "app/user_interface.h"

namespace tarvosen::ui {

class MainWindow;

class QtUserInterface : public UserInterface {
  public:
    explicit QtUserInterface(MainWindow& window) : window_(window) {}

    void showMessage(MessageKind kind, const std::string& text) override;
    void showNote(const std::string& text) override;
    bool confirm(const std::string& question) override;
    std::optional<std::filesystem::path> chooseSaveFile(const std::string& filter,
                                                        const std::string& ext) override;
    std::optional<std::filesystem::path> chooseOpenFile(const std::string& filter) override;
    bool showOptionDialog(OptionDialog dialog) override;
    void setCaption(const std::string& caption) override;
    void progressBegin(int maximum) override;
    void progressSetPosition(int position) override;
    void progressEnd() override;
    void openWithDesktop(const std::filesystem::path& path) override;
    void showLineFindings(const std::vector<LineFinding>& findings, bool append) override;

    // Hands every question, message and dialog to `answers` instead of
    // showing it (tests answer from a script); the caption and the progress
    // bar still change the window and are passed on as well. Null restores
    // the real dialogs.
    void setAnswers(UserInterface* answers) { answers_ = answers; }
    UserInterface* answers() const { return answers_; }

  private:
    MainWindow& window_;
    UserInterface* answers_ = nullptr;
};

}  // namespace tarvosen::ui
