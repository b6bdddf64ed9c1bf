#pragma once
// Workspace lines read as a DOS text file is: a Ctrl-Z byte ends the input (old
// instrument and DOS programs end their files with one). Streaming.

#include <cstddef>
#include <string>

#include "app/line_account.h"
#include "app/line_reader.h"
#include "app/workspace.h"
#include "i18n/message_catalogue.h"

namespace tarvosen::points {

// A line that holds only the Ctrl-Z ending the data.
inline constexpr PassedOverKind kEndOfFileMarks{msg::kEndOfFileMarksKind, "end-of-file marks"};

class TextLines {
  public:
    // The lines skipped are counted in `account`: blank ones and a line of
    // only the Ctrl-Z passed over, lines with text after the Ctrl-Z not
    // understood (ctrlZWarning names them). Each line returned is left to
    // the caller to count.
    TextLines(const Workspace& lines, LineAccount& account) : lines_(lines), account_(account) {}

    // The next line that is not blank (empty or only blanks, tabs and CRs);
    // false at the end of the input.
    bool nextNonBlank(std::string& line);

    // The number of the line last returned (1-based).
    std::size_t lineNumber() const { return current_; }

    // A warning naming `file` when a Ctrl-Z ended the input before lines
    // that hold text; empty otherwise.
    std::string ctrlZWarning(const std::string& file, const MessageTexts& texts = {}) const;

  private:
    LineReader lines_;
    LineAccount& account_;
    std::size_t current_ = 0;
    bool ended_ = false;
    std::size_t ctrlZLine_ = 0;
    std::size_t linesAfterCtrlZ_ = 0;
};

}  // namespace tarvosen::points
