#include "points/line_issues.h"

namespace tarvosen::points {

std::string LineIssue::message(const std::string& file, const MessageTexts& texts) const {
    if (lines_.empty()) return {};
    const std::string named = lines_.text(texts);
    const std::string lines = lines_.count() == 1
                                  ? texts(msg::kWorkspaceLine, "%2: line %1", {named, file})
                                  : texts(msg::kWorkspaceLines, "%2: lines %1", {named, file});
    return id_ ? texts(id_, problem_, {lines}) : FillIn("%1 " + problem_ + ".", {lines});
}

}  // namespace tarvosen::points
