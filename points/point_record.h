#pragma once
// The point list "Pn, X, Y, Z, [C]": one line per point, name "," X "," Y ","
// Z "," code. Fields are texts copied as they stand, blanks included; nothing
// is trimmed and no number is checked when reading.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "points/line_issues.h"
#include "points/text_lines.h"

namespace tarvosen::points {

struct PointRecord {
    std::string name, x, y, z, code;
};

// The longest field of a point list or a Nikon 300/400 raw record.
inline constexpr std::size_t kFieldLimit = 49;

// Cuts `field` to kFieldLimit characters; true when it had to be cut.
bool CutToFieldLimit(std::string& field);

// What one line held besides its fields.
struct PointLineShape {
    int commas = 0;         // up to 4 are separators; more belong to the code
    bool fieldCut = false;  // a field was longer than kFieldLimit
};

// Splits one line (without its line end) into a record. A record ends at the
// end of its line: fields the line lacks are empty, and a code may hold
// further commas.
PointLineShape ParsePointLine(std::string_view line, PointRecord& record);

// Reads a point list file record by record, streaming, one record a line
// (TextLines: blank lines are skipped, a Ctrl-Z ends the input). Lines that
// could not be read as they stand are remembered and described by warnings().
class PointListReader {
  public:
    explicit PointListReader(const Workspace& lines);

    // Reads the next record; false at the end of the input.
    bool ReadPointRecord(PointRecord& record);

    // The number of the line the last record came from (1-based).
    std::size_t lineNumber() const { return lines_.lineNumber(); }

    // One text per kind of problem met so far, for a warning after the export.
    std::vector<std::string> warnings() const;

  private:
    TextLines lines_;
    std::string line_;
    LineIssue cut_{"had a field longer than 49 characters, cut to its first 49"};
    LineIssue short_{
        "had fewer than the three commas that separate name, X, Y and Z; "
        "the missing fields were read as empty"};
};

}  // namespace tarvosen::points
