#include "points/text_lines.h"

#include <algorithm>

namespace tarvosen::points {

namespace {

constexpr char kCtrlZ = '\x1a';

bool IsBlank(const std::string& line) {
    return std::all_of(line.begin(), line.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

}  // namespace

bool TextLines::nextNonBlank(std::string& line) {
    while (!ended_) {
        if (!lines_.next(line)) {
            ended_ = true;
            break;
        }
        current_ = lines_.lineNumber();
        bool endMark = false;
        if (const auto z = line.find(kCtrlZ); z != std::string::npos) {
            // What stands before the Ctrl-Z on its line still counts.
            line.resize(z);
            ended_ = true;
            endMark = true;
            ctrlZLine_ = current_;
            std::string rest;
            while (lines_.next(rest)) {
                if (IsBlank(rest)) {
                    account_.passedOver(lines_.lineNumber(), kBlankLines);
                } else {
                    account_.notUnderstoodReported(lines_.lineNumber());
                    ++linesAfterCtrlZ_;
                }
            }
        }
        if (!IsBlank(line)) return true;
        account_.passedOver(current_, endMark ? kEndOfFileMarks : kBlankLines);
    }
    return false;
}

std::string TextLines::ctrlZWarning(const std::string& file, const MessageTexts& texts) const {
    if (linesAfterCtrlZ_ == 0) return {};
    return texts(msg::kCtrlZEndsData,
                 "%3: line %1 holds a Ctrl-Z character, which ends the data; the %2 "
                 "line(s) with text after it were not read.",
                 {std::to_string(ctrlZLine_), std::to_string(linesAfterCtrlZ_), file});
}

}  // namespace tarvosen::points
