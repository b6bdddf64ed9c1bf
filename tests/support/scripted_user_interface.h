#pragma once
// A user for tests: records every message and question and gives prepared
// answers, so a command runs exactly as in the window.

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/user_interface.h"

namespace tarvosen::test {

struct RecordedMessage {
    MessageKind kind;
    std::string text;
};

class ScriptedUserInterface : public UserInterface {
public:
    void showMessage(MessageKind kind, const std::string& text) override {
        messages.push_back({kind, text});
    }
    void showNote(const std::string& text) override { notes.push_back(text); }
    bool confirm(const std::string& question) override {
        questions.push_back(question);
        if (whileAsked) whileAsked();
        if (confirmAnswers.empty()) return false;
        bool a = confirmAnswers.front();
        confirmAnswers.pop_front();
        return a;
    }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string& filter,
                                                        const std::string& ext) override {
        saveFilters.push_back(filter);
        if (whileSaveDialogIsOpen) whileSaveDialogIsOpen();
        if (saveAnswers.empty()) return std::nullopt;
        auto a = saveAnswers.front();
        saveAnswers.pop_front();
        if (a && !ext.empty() && !a->has_extension()) *a += "." + ext;
        return a;
    }
    std::optional<std::filesystem::path> chooseOpenFile(const std::string& filter) override {
        openFilters.push_back(filter);
        if (openAnswers.empty()) return std::nullopt;
        auto a = openAnswers.front();
        openAnswers.pop_front();
        return a;
    }
    bool showOptionDialog(OptionDialog dialog) override {
        dialogsShown.push_back(dialog);
        if (onDialog) return onDialog(dialog);
        return dialogAnswer;
    }
    void setCaption(const std::string& c) override { caption = c; }
    void progressBegin(int maximum) override {
        progressMaximum = maximum;
        progressActive = true;
    }
    void progressSetPosition(int p) override {
        progressPosition = p;
        if (onProgress) onProgress(p);
    }
    void progressEnd() override { progressActive = false; }
    void openWithDesktop(const std::filesystem::path& p) override { opened.push_back(p); }

    // Texts of the messages of one kind, in order.
    std::vector<std::string> texts(MessageKind kind) const {
        std::vector<std::string> out;
        for (const auto& m : messages)
            if (m.kind == kind) out.push_back(m.text);
        return out;
    }

    // Prepared answers.
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::filesystem::path>> saveAnswers;
    std::deque<std::optional<std::filesystem::path>> openAnswers;
    bool dialogAnswer = true;
    std::function<bool(OptionDialog)> onDialog;
    // Runs while the save dialog is up: other programs may touch files then.
    std::function<void()> whileSaveDialogIsOpen;
    // Runs while a question is up, and at each progress step (the user may
    // press Cancel then).
    std::function<void()> whileAsked;
    std::function<void(int)> onProgress;

    // What happened.
    std::vector<RecordedMessage> messages;
    // Check findings go to their own list, as the window lists them apart
    // from its message boxes.
    void showLineFindings(const std::vector<LineFinding>& shown, bool append) override {
        if (!append) findings.clear();
        findings.insert(findings.end(), shown.begin(), shown.end());
    }
    std::vector<LineFinding> findings;
    std::vector<std::string> questions;
    std::vector<std::string> notes;
    std::vector<std::string> saveFilters;
    std::vector<std::string> openFilters;
    std::vector<OptionDialog> dialogsShown;
    std::vector<std::filesystem::path> opened;
    std::string caption;
    int progressMaximum = 0;
    int progressPosition = 0;
    bool progressActive = false;
};

}  // namespace tarvosen::test
