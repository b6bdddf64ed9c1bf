#pragma once
// Zeiss M5 ("REC E") record lines: 119 fixed columns,
//   For M5|Adr NNNNN|KKK iiiiiiiiiiiiiiiiiiiiiiiiiii|tt vvvvvvvvvvvvvv uuuu|x3 + a blank
// a record kind (TI, PI1, KD1, TO), a 27-column information block and three
// fields of 23 columns: type, value, unit.

#include <string>
#include <string_view>

#include "zeiss/fixed_columns.h"

namespace tarvosen::zeiss {

inline constexpr std::size_t kM5LineLength = 119;
inline constexpr const char* kNotM5Message =
    "Not a ZEISS M5 format file, Please re-check your file";
inline constexpr const char* kNotRec500Message =
    "Not a ZEISS REC500 format file, Please re-check your file";

class M5Line : public FixedColumns {
  public:
    using FixedColumns::FixedColumns;

    bool isEnd() const { return startsAt(1, "END"); }
    bool isM5() const { return startsAt(1, "For M5"); }
    // True when the "|" of the layout stand in columns 7, 17 and 49 and each
    // field up to the end of the line (blanks aside) is closed by its "|" in
    // column 72, 95 or 118: a value wider than its field shifts the columns
    // after it, and its unit would be read from the wrong ones.
    bool hasM5Layout() const;

    long address() const { return integer(12, 16); }
    std::string kind() const { return columns(18, 20); }
    std::string information() const { return columns(22, 48); }

    // Field i = 0, 1, 2 starts in column 50 + 23 i.
    static constexpr std::size_t fieldColumn(int i) {
        return 50 + 23 * static_cast<std::size_t>(i);
    }
    std::string fieldType(int i) const { return columns(fieldColumn(i), fieldColumn(i) + 1); }
    std::string fieldValue(int i) const { return columns(fieldColumn(i) + 3, fieldColumn(i) + 16); }
    std::string fieldUnit(int i) const { return columns(fieldColumn(i) + 18, fieldColumn(i) + 21); }
    RecordField field(int i) const { return {fieldType(i), fieldValue(i), fieldUnit(i)}; }
    RecordFields fields() const { return {field(0), field(1), field(2)}; }
};

// The text of a TI record for the 7 text columns of an R5 TR record, read
// where it stands in the information block: instruments write it from column
// 22 (some after four blanks), earlier versions of this program right-aligned
// to column 48. Columns 22-28 as they stand when the text starts in 22 and
// fits them, else the text without its blanks, left-aligned as R5 texts are;
// a longer text keeps its first 7 characters and sets *cut.
std::string M5TextForR5(const M5Line& line, bool* cut = nullptr);

// "For M5|Adr %05d|TI  %-27s|%2s %14s %4s|%2s %14s %4s|%2s %14s %4s| ": the
// text from column 22, where instruments write it.
std::string FormatM5TextLine(long address, std::string_view text, const RecordFields& fields);
// "For M5|Adr %05d|PI1 %14s%13s|%2s %14s %4s|%2s %14s %4s|%2s %14s %4s| "
std::string FormatM5PointLine(long address, std::string_view pointNumber, std::string_view code,
                              const RecordFields& fields);
// "For M5|Adr %05d|KD1 %27s|%2s %14s %-4s|%2s %14s %-4s|%2s %14s %-4s| "
std::string FormatM5DataLine(long address, std::string_view text, const RecordFields& fields);
// "For M5|Adr %05d|TO  %27s|%2s %14s %4s|%2s %14s %4s|%2s %14s %4s| "
std::string FormatM5InformationLine(long address, std::string_view text,
                                    const RecordFields& fields);

}  // namespace tarvosen::zeiss
