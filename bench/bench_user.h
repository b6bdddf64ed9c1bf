#pragma once
// The user of a benchmark: says nothing, answers No to questions, accepts
// option dialogs as they stand (unless told otherwise) and gives one fixed
// file name to a save dialog, or cancels it.

#include <filesystem>
#include <optional>
#include <string>

#include "app/user_interface.h"

namespace tarvosen::bench {

class BenchUser : public UserInterface {
  public:
    explicit BenchUser(std::optional<std::filesystem::path> saveAs = std::nullopt,
                       bool acceptDialogs = true)
        : saveAs_(std::move(saveAs)), acceptDialogs_(acceptDialogs) {}
    void showMessage(MessageKind, const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string&,
                                                        const std::string&) override {
        return saveAs_;
    }
    std::optional<std::filesystem::path> chooseOpenFile(const std::string&) override {
        return std::nullopt;
    }
    bool showOptionDialog(OptionDialog) override { return acceptDialogs_; }
    void setCaption(const std::string&) override {}
    void progressBegin(int) override {}
    void progressSetPosition(int) override {}
    void progressEnd() override {}

  private:
    std::optional<std::filesystem::path> saveAs_;
    bool acceptDialogs_;
};

}  // namespace tarvosen::bench
