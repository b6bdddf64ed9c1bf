#pragma once
// Lines that had the same problem while a file was read, gathered so the user
// gets one warning naming them instead of one message box per line.

#include <cstddef>
#include <string>

#include "i18n/line_ranges.h"
#include "i18n/message_catalogue.h"

namespace tarvosen::points {

class LineIssue {
  public:
    // `problem` completes "line 7 " / "lines 7, 9 and 12 ", for example
    // "had a field longer than 49 characters; it was cut to 49".
    explicit LineIssue(std::string problem) : problem_(std::move(problem)) {}
    // With the catalogue id and English of the whole sentence, %1 being the
    // lines ("%1 had a field longer than 49 characters; it was cut to 49."),
    // so the warning can be told in the chosen language.
    LineIssue(int id, std::string sentence) : id_(id), problem_(std::move(sentence)) {}

    void add(std::size_t lineNumber) { lines_.add(lineNumber); }
    bool empty() const { return lines_.empty(); }
    std::size_t count() const { return lines_.count(); }

    // "job.txt: line 7 had ..." or "job.txt: lines 7, 9-30 and 41 had ...",
    // `file` naming the input; empty when no line was added.
    std::string message(const std::string& file, const MessageTexts& texts = {}) const;

  private:
    int id_ = 0;
    std::string problem_;  // the sentence when id_ is set
    LineRanges lines_;
};

}  // namespace tarvosen::points
