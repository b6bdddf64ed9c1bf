#pragma once
// Reads the lines of a workspace one at a time, as the record readers want
// them, and keeps the number of the last line read for messages.

#include <cstddef>
#include <string>

#include "app/workspace.h"

namespace tarvosen {

class LineReader {
public:
    // The workspace must outlive the reader and stay unchanged while it reads.
    explicit LineReader(const Workspace& lines) : lines_(lines) {}

    // Copies the next line into `line`; false after the last line.
    bool next(std::string& line) {
        if (lineNumber_ >= lines_.lineCount()) return false;
        line.assign(lines_.line(lineNumber_++));
        return true;
    }

    std::size_t lineNumber() const { return lineNumber_; }

private:
    const Workspace& lines_;
    std::size_t lineNumber_ = 0;
};

}  // namespace tarvosen
