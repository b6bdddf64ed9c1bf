#pragma once
// Zeiss R5 record lines: 87 fixed columns,
//   For R5|Adr NNNN|KR CCCPPPP|tt vvvvvvvvvvv uuuu|tt ... |tt ... |
// a point record (KR: code in 20-22, point number in 23-26) or a text record
// (TR: text in 20-26), then three fields of 20 columns: type, value, unit.

#include <optional>
#include <string>
#include <string_view>

#include "i18n/message_catalogue.h"
#include "zeiss/fixed_columns.h"

namespace tarvosen::zeiss {

inline constexpr std::size_t kR5LineLength = 87;
inline constexpr std::size_t kR5PointNumberWidth = 4;
inline constexpr std::size_t kR5TextWidth = 7;
inline constexpr std::size_t kR5ValueWidth = 11;
inline constexpr long kR5AddressModulus = 10000;  // the address has 4 digits
inline constexpr const char* kNotR5Message =
    "Not a ZEISS R5 format file, Please re-check your file";

class R5Line : public FixedColumns {
  public:
    using FixedColumns::FixedColumns;

    // "END" in columns 1-3 ends the data, whatever follows.
    bool isEnd() const { return startsAt(1, "END"); }
    bool isR5() const { return startsAt(1, "For R5"); }
    // True when the "|" of the layout stand in columns 7, 16 and 27 and each
    // field up to the end of the line (blanks aside) is closed by its "|" in
    // column 47, 67 or 87: a value written wider than its field, or a line
    // cut inside one, shifts or loses columns and is not read.
    bool hasR5Layout() const;

    long address() const { return integer(12, 15); }
    std::string kind() const { return columns(17, 18); }
    std::string code() const { return columns(20, 22); }
    std::string pointNumber() const { return columns(23, 26); }
    std::string text() const { return columns(20, 26); }

    // Field i = 0, 1, 2 starts in column 28 + 20 i.
    static constexpr std::size_t fieldColumn(int i) {
        return 28 + 20 * static_cast<std::size_t>(i);
    }
    std::string fieldType(int i) const { return columns(fieldColumn(i), fieldColumn(i) + 1); }
    std::string fieldValue(int i) const { return columns(fieldColumn(i) + 3, fieldColumn(i) + 13); }
    std::string fieldUnit(int i) const { return columns(fieldColumn(i) + 15, fieldColumn(i) + 18); }
    RecordField field(int i) const { return {fieldType(i), fieldValue(i), fieldUnit(i)}; }
    RecordFields fields() const { return {field(0), field(1), field(2)}; }

    double fieldNumber(int i) const { return number(fieldColumn(i) + 3, fieldColumn(i) + 13); }
    double fieldNumberOrZero(int i) const {
        return numberOrZero(fieldColumn(i) + 3, fieldColumn(i) + 13);
    }
};

// The text of a number for the 11 value columns of an R5 field: as it stands
// when it fits; a longer decimal number ([sign]digits[.digits], blanks around
// it ignored) rounded half away from zero to as many decimals as fit, never
// fewer than three (millimetres). Empty when it cannot fit that way.
std::optional<std::string> FitR5Value(std::string_view value);

// The writers below put the address modulo 10000 in its four columns.
// "For R5|Adr %04d|KR %3s%4s|%2s %11s %4s|%2s %11s %4s|%2s %11s %4s|"
std::string FormatR5PointLine(long address, std::string_view code, std::string_view pointNumber,
                              const RecordFields& fields);
// "For R5|Adr %04d|KR %3s%4s|X  %11s m   |Y  %11s m   |Z  %11s m   |"
std::string FormatR5CoordinateLine(long address, std::string_view code,
                                   std::string_view pointNumber, std::string_view x,
                                   std::string_view y, std::string_view z);
// "For R5|Adr %04d|TR %7s|%2s %11s %4s|%2s %11s %4s|%2s %11s %4s|"
std::string FormatR5TextLine(long address, std::string_view text, const RecordFields& fields);

// The message shown when a line is not a record of the expected kind, with
// the line that gave it away: `message` (kNotR5Message or the M5 one, in the
// language of `texts`) and what is wrong with line `lineNumber` whose text is
// `line`.
std::string NotARecordMessage(const MessageTexts& texts, std::string_view message,
                              std::string_view expectedStart, std::size_t lineNumber,
                              std::string_view line);

}  // namespace tarvosen::zeiss
