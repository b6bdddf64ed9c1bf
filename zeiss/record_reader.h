#pragma once
// Reads a record file line by line for the Zeiss readers. Each reader looks
// only at the first `limit` characters of a line (the record layouts end well
// before that); blanks past the limit are dropped. A line with more than
// blanks past it is no record the reader knows: read with a line account, it
// is left out and counted as not understood; without one it is cut and read.
// Either way the command names such lines once.

#include <cstddef>
#include <string>

#include "app/line_account.h"
#include "app/line_reader.h"
#include "app/user_interface.h"
#include "i18n/line_ranges.h"
#include "i18n/message_catalogue.h"

namespace tarvosen::zeiss {

class RecordReader {
  public:
    RecordReader(const Workspace& lines, std::size_t limit) : reader_(lines), limit_(limit) {}
    RecordReader(const Workspace& lines, std::size_t limit, LineAccount& account)
        : reader_(lines), limit_(limit), account_(&account) {}

    bool next(std::string& line);
    std::size_t lineNumber() const { return reader_.lineNumber(); }

    // A warning naming the lines that were too long, when there were any;
    // with a line account it names the account's file and says they were
    // left out.
    void reportCutLines(UserInterface& user, const MessageTexts& texts = {}) const;

  private:
    LineReader reader_;
    std::size_t limit_;
    LineAccount* account_ = nullptr;
    LineRanges cut_;
    std::size_t firstCut_ = 0;
};

}  // namespace tarvosen::zeiss
