#include "zeiss/record_reader.h"

namespace tarvosen::zeiss {

bool RecordReader::next(std::string& line) {
    if (!reader_.next(line)) return false;
    if (line.size() > limit_) {
        line.resize(limit_);
        if (cutCount_++ == 0) firstCut_ = reader_.lineNumber();
    }
    return true;
}

void RecordReader::reportCutLines(UserInterface& user, const MessageTexts& texts) const {
    if (cutCount_ == 0) return;
    const std::string first = std::to_string(firstCut_), limit = std::to_string(limit_);
    user.warning(cutCount_ > 1
                     ? texts(msg::kCutLines,
                             "Line %1 and %3 more lines are longer than %2 characters; only the "
                             "first %2 characters of such lines were read.",
                             {first, limit, std::to_string(cutCount_ - 1)})
                     : texts(msg::kCutLine,
                             "Line %1 is longer than %2 characters; only the first %2 characters "
                             "of such lines were read.",
                             {first, limit}));
}

}  // namespace tarvosen::zeiss
