#include "points/line_issues.h"

namespace tarvosen::points {

void LineIssue::add(std::size_t lineNumber) {
    if (lines_.size() < kNamed) lines_.push_back(lineNumber);
    ++count_;
}

std::string LineIssue::message(const MessageTexts& texts) const {
    if (count_ == 0) return {};
    std::vector<std::string> named;
    for (const std::size_t line : lines_) named.push_back(std::to_string(line));
    std::string lines;
    if (count_ == 1)
        lines = texts(msg::kWorkspaceLine, "Workspace line %1", {named[0]});
    else if (count_ == lines_.size())
        lines = texts(msg::kWorkspaceLines, "Workspace lines %1", {ListOf(named, texts, true)});
    else
        lines = texts(msg::kWorkspaceLinesInAll, "Workspace lines %1, ... (%2 lines in all)",
                      {ListOf(named, texts, false), std::to_string(count_)});
    const std::string sentence = "%1 " + problem_ + ".";
    return id_ ? texts(id_, sentence, {lines}) : FillIn(sentence, {lines});
}

}  // namespace tarvosen::points
