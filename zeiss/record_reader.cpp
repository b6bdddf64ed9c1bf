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

void RecordReader::reportCutLines(UserInterface& user) const {
    if (cutCount_ == 0) return;
    std::string text = "Line " + std::to_string(firstCut_);
    if (cutCount_ > 1) text += " and " + std::to_string(cutCount_ - 1) + " more lines";
    text += cutCount_ > 1 ? " are" : " is";
    text += " longer than " + std::to_string(limit_) + " characters; only the first " +
            std::to_string(limit_) + " characters of such lines were read.";
    user.warning(text);
}

}  // namespace tarvosen::zeiss
