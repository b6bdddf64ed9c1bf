#pragma once
// Reading and writing fixed-column record lines. Columns are counted from 1
// as in the record layouts; a line shorter than a column range reads as if
// padded with blanks, so a short or truncated line never reads past its end.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "app/number_text.h"

namespace tarvosen::zeiss {

// One field as text: type (2 columns), value (11 in R5, 14 in M5), unit (4).
struct RecordField {
    std::string type, value, unit;
};
using RecordFields = std::array<RecordField, 3>;

class FixedColumns {
  public:
    // `lineNumber` is the line's number in its file, named in error messages.
    FixedColumns(std::string_view text, std::size_t lineNumber) : text_(text), line_(lineNumber) {}

    std::string_view raw() const { return text_; }
    std::size_t lineNumber() const { return line_; }

    // The character in column `c`, a blank beyond the end of the line.
    char at(std::size_t c) const { return c >= 1 && c <= text_.size() ? text_[c - 1] : ' '; }

    // Columns first..last with their blanks, padded with blanks beyond the end.
    std::string columns(std::size_t first, std::size_t last) const;

    // True when columns first.. hold `expected` (compared over its length).
    bool startsAt(std::size_t first, std::string_view expected) const;

    bool isBlank(std::size_t first, std::size_t last) const;

    // Numbers read strictly with surrounding blanks ignored; anything else
    // throws ConversionError naming the line and the columns.
    double number(std::size_t first, std::size_t last) const;
    // As number(), but an all-blank range reads as 0.
    double numberOrZero(std::size_t first, std::size_t last) const;
    long integer(std::size_t first, std::size_t last) const;

  private:
    // The part of columns first..last that lies within the line.
    std::string_view present(std::size_t first, std::size_t last) const;
    // Throws the catalogue message `id`: %1 the line, %2-%3 the columns, %4 their text.
    [[noreturn]] void notANumber(std::size_t first, std::size_t last, int id,
                                 const char* english) const;

    std::string_view text_;
    std::size_t line_;
};

// The serial transfer log reads its integers through this name.
inline bool ParseInteger(std::string_view text, long& value) {
    const std::optional<long> parsed = ParseWholeInteger(text);
    if (parsed) value = *parsed;
    return parsed.has_value();
}

// Template writers with printf's rules: "%Ns" right-aligns in N columns and
// "%-Ns" left-aligns; a longer text is written in full, never cut.
void AppendRight(std::string& out, std::string_view text, std::size_t width);
void AppendLeft(std::string& out, std::string_view text, std::size_t width);
// "%0Nd": zero-padded to N digits (a minus sign takes one of them).
void AppendZeroPadded(std::string& out, long value, int width);

// Writes three fields as "%2s %Ws %4s|" each (units "%-4s" when left-aligned).
void AppendRecordFields(std::string& out, const RecordFields& fields, std::size_t valueWidth,
                        bool unitsLeftAligned = false);

}  // namespace tarvosen::zeiss
