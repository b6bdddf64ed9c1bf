#pragma once
// Lines that had the same problem while a file was read, gathered so the user
// gets one warning naming them instead of one message box per line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/message_catalogue.h"

namespace tarvosen::points {

class LineIssue {
  public:
    // `problem` completes "Line 7 " / "Lines 7, 9 and 12 ", for example
    // "had a field longer than 49 characters; it was cut to 49".
    explicit LineIssue(std::string problem) : problem_(std::move(problem)) {}
    // With the catalogue id of the whole sentence "%1 <problem>.", %1 being
    // the lines, so the warning can be told in the chosen language.
    LineIssue(int id, std::string problem) : id_(id), problem_(std::move(problem)) {}

    void add(std::size_t lineNumber);
    bool empty() const { return count_ == 0; }
    std::size_t count() const { return count_; }

    // "Workspace line 7 had ..." or "Workspace lines 7, 9, ... (1234 lines in
    // all) had ..."; empty when no line was added.
    std::string message(const MessageTexts& texts = {}) const;

  private:
    static constexpr std::size_t kNamed = 5;  // line numbers spelled out
    int id_ = 0;
    std::string problem_;
    std::vector<std::size_t> lines_;
    std::size_t count_ = 0;
};

}  // namespace tarvosen::points
