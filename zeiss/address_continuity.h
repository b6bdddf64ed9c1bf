#pragma once
// The continuity of record addresses. R5 and M5 records carry an address
// ("Adr"), REC500 records a line number; an instrument numbers its records
// one after another, so a gap means records were lost, a repeat or a step
// back means records were added, moved or joined from another download.
// R5's four-digit address and M5's five-digit one wrap to 0 after their
// largest value.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/user_interface.h"
#include "app/workspace.h"
#include "i18n/message_catalogue.h"

namespace tarvosen {
struct CommandContext;
// The document name without its folders, as findings name the file.
std::string DocumentFileName(const CommandContext& ctx);
}

namespace tarvosen::zeiss {

enum class AddressedFormat { None, R5, M5, Rec500 };

struct AddressedRecord {
    AddressedFormat format = AddressedFormat::None;
    long address = 0;
};

// The format and address of a record line; format None for any other line
// (END, a blank line, a point list).
AddressedRecord ReadRecordAddress(std::string_view line);

struct AddressFinding {
    enum class Kind { Gap, Repeat, Backward };
    Kind kind = Kind::Gap;
    std::size_t line = 0;          // the line that breaks the sequence, from 1
    std::size_t previousLine = 0;  // the addressed line before it
    long previous = 0;             // the address of previousLine
    long address = 0;              // the address of line
    long modulus = 0;              // where the address wraps to 0; 0 if it never does
    // "addresses 412-419 are missing between line 57 and line 58", ... in
    // the language of `texts`.
    std::string text(const MessageTexts& texts = {}) const;
};

// Follows the addresses line by line, as lines arrive in a download.
class AddressTracker {
  public:
    // The finding this line makes, if any.
    std::optional<AddressFinding> add(std::string_view line, std::size_t lineNumber);
    std::size_t addressedLines() const { return addressed_; }

  private:
    AddressedFormat format_ = AddressedFormat::None;
    long previous_ = 0;
    std::size_t previousLine_ = 0;
    std::size_t addressed_ = 0;
};

std::vector<AddressFinding> CheckAddresses(const Workspace& lines);

// Shows the findings of the workspace's addresses under the name `file`,
// unless they are the ones shown last (Load showed them and nothing changed).
void ReportAddressContinuity(CommandContext& ctx, const std::string& file);

using tarvosen::DocumentFileName;

}  // namespace tarvosen::zeiss
