#include "cli/cli_user_interface.h"

#include <ostream>

#include "app/errors.h"

namespace tarvosen {

CliUserInterface::CliUserInterface(std::ostream& err, std::optional<std::filesystem::path> input,
                                   std::optional<std::filesystem::path> output)
    : err_(err), input_(std::move(input)), output_(std::move(output)) {}

void CliUserInterface::showMessage(MessageKind kind, const std::string& text) {
    static const char* const kPrefix[] = {"information: ", "warning: ", "error: "};
    ++counts_[static_cast<int>(kind)];
    if (progressOnScreen_) {
        err_ << '\n';
        progressOnScreen_ = false;
    }
    // One line per message: line breaks inside a message become blanks.
    std::string flat = text;
    for (char& c : flat)
        if (c == '\n' || c == '\r') c = ' ';
    err_ << kPrefix[static_cast<int>(kind)] << flat << '\n';
}

void CliUserInterface::showNote(const std::string& text) {
    if (quiet_) return;
    if (progressOnScreen_) {
        err_ << '\n';
        progressOnScreen_ = false;
    }
    err_ << "note: " << text << '\n';
}

bool CliUserInterface::confirm(const std::string& question) {
    showMessage(MessageKind::Error, question + " [refused: the command line cannot ask]");
    return false;
}

std::optional<std::filesystem::path> CliUserInterface::chooseSaveFile(const std::string&,
                                                                      const std::string& ext) {
    if (!output_) throw UsageError("this command writes a file: give it with -o OUTPUT");
    auto path = *output_;
    if (!ext.empty() && !path.has_extension()) path += "." + ext;
    return path;
}

std::optional<std::filesystem::path> CliUserInterface::chooseOpenFile(const std::string&) {
    return input_;
}

void CliUserInterface::progressBegin(int maximum) {
    progressMaximum_ = maximum;
    progressDrawn_ = {};
}

void CliUserInterface::progressSetPosition(int position) {
    if (!progressShown_) return;
    // Redrawn at most ten times a second: a terminal is slow.
    progressPosition_ = position;
    const auto now = std::chrono::steady_clock::now();
    if (now - progressDrawn_ < std::chrono::milliseconds(100)) return;
    progressDrawn_ = now;
    drawProgress();
}

void CliUserInterface::drawProgress() {
    err_ << "\r" << progressPosition_;
    if (progressMaximum_ > 0) err_ << " of " << progressMaximum_;
    err_ << " lines" << std::flush;
    progressOnScreen_ = true;
}

void CliUserInterface::progressEnd() {
    if (progressOnScreen_) {
        drawProgress();
        err_ << '\n';
    }
    progressOnScreen_ = false;
}

bool CliUserInterface::showOptionDialog(OptionDialog) { return true; }

}  // namespace tarvosen
