#pragma once
// The user side of a command on the command line: dialogs are answered by
// the options, messages go to standard error one line each with a prefix.

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
    bool confirm(const std::string& question) override;
    std::optional<std::filesystem::path> chooseSaveFile(const std::string& filter,
                                                        const std::string& ext) override;
    std::optional<std::filesystem::path> chooseOpenFile(const std::string& filter) override;
    bool showOptionDialog(OptionDialog dialog) override;
    void setCaption(const std::string&) override {}
    void progressBegin(int) override {}
    void progressSetPosition(int) override {}
    void progressEnd() override {}

    int messageCount(MessageKind kind) const { return counts_[static_cast<int>(kind)]; }

private:
    std::ostream& err_;
    std::optional<std::filesystem::path> input_;
    std::optional<std::filesystem::path> output_;
    int counts_[3] = {0, 0, 0};
};

}  // namespace tarvosen
