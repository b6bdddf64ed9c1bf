#pragma once
// Reads a record file line by line for the Zeiss readers. Each reader looks
// only at the first `limit` characters of a line (the record layouts end well
// before that); longer lines are cut and reading goes on, and the command
// says once which line was cut.

#include <cstddef>
#include <string>

#include "app/line_reader.h"
#include "app/user_interface.h"
#include "i18n/message_catalogue.h"

namespace tarvosen::zeiss {

class RecordReader {
  public:
    RecordReader(const Workspace& lines, std::size_t limit) : reader_(lines), limit_(limit) {}

    bool next(std::string& line);
    std::size_t lineNumber() const { return reader_.lineNumber(); }

    // A warning naming the first cut line, when any line was cut.
    void reportCutLines(UserInterface& user, const MessageTexts& texts = {}) const;

  private:
    LineReader reader_;
    std::size_t limit_;
    std::size_t firstCut_ = 0;
    std::size_t cutCount_ = 0;
};

}  // namespace tarvosen::zeiss
