#include "zeiss/record_reader.h"

namespace tarvosen::zeiss {

bool RecordReader::next(std::string& line) {
    while (reader_.next(line)) {
        if (line.size() <= limit_) return true;
        const bool blanksPast = line.find_first_not_of(" \t\r", limit_) == std::string::npos;
        line.resize(limit_);
        if (blanksPast) return true;
        if (cut_.empty()) firstCut_ = reader_.lineNumber();
        cut_.add(reader_.lineNumber());
        if (!account_) return true;
        account_->notUnderstoodReported(reader_.lineNumber());
    }
    return false;
}

void RecordReader::reportCutLines(UserInterface& user, const MessageTexts& texts) const {
    if (cut_.empty()) return;
    const std::string limit = std::to_string(limit_);
    if (account_) {
        const std::string file = account_->files().empty() ? "" : account_->files().back().name;
        const std::string lines = cut_.text(texts);
        user.warning(cut_.count() == 1
                         ? texts(msg::kLongLineLeftOut,
                                 "%1: line %2 is longer than the %3 characters a record can "
                                 "hold; it was left out.",
                                 {file, lines, limit})
                         : texts(msg::kLongLinesLeftOut,
                                 "%1: lines %2 are longer than the %3 characters a record can "
                                 "hold; they were left out.",
                                 {file, lines, limit}));
        return;
    }
    const std::string first = std::to_string(firstCut_);
    user.warning(cut_.count() > 1
                     ? texts(msg::kCutLines,
                             "Line %1 and %3 more lines are longer than %2 characters; only the "
                             "first %2 characters of such lines were read.",
                             {first, limit, std::to_string(cut_.count() - 1)})
                     : texts(msg::kCutLine,
                             "Line %1 is longer than %2 characters; only the first %2 characters "
                             "of such lines were read.",
                             {first, limit}));
}

}  // namespace tarvosen::zeiss
