#include "points/line_issues.h"

namespace tarvosen::points {

void LineIssue::add(std::size_t lineNumber) {
    if (lines_.size() < kNamed) lines_.push_back(lineNumber);
    ++count_;
}

std::string LineIssue::message(std::string_view where) const {
    if (count_ == 0) return {};
    std::string text(where);
    if (count_ == 1) return text + " line " + std::to_string(lines_[0]) + " " + problem_ + ".";
    text += " lines ";
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) text += (i + 1 == lines_.size() && count_ == lines_.size()) ? " and " : ", ";
        text += std::to_string(lines_[i]);
    }
    if (count_ > lines_.size()) text += ", ... (" + std::to_string(count_) + " lines in all)";
    return text + " " + problem_ + ".";
}

}  // namespace tarvosen::points
