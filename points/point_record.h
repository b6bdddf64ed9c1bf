#pragma once
// The point list "Pn, X, Y, Z, [C]": one line per point. Fields are texts
// copied as they stand, whole however long; no number is checked when a
// record is read. The layout of a list (the program's own or CASS, commas or
// blanks between fields) is decided from the whole file first.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "app/options_store.h"
#include "points/line_issues.h"
#include "points/point_layout.h"
#include "points/text_lines.h"
#include "points/point_list_options.h"

namespace tarvosen::points {

struct PointRecord {
    std::string name, x, y, z, code;
};

// Reads a point list file record by record, streaming, one record a line
// (TextLines: blank lines are skipped, a Ctrl-Z ends the input), after one
// pass over the file that decides its layout. Lines that could not be read as
// they stand are remembered and described by warnings(). Every line is
// counted in account(): a record that fits the layout is used (unless the
// export says otherwise, leaveOut() and readImperfectly()), one that does not
// fit is not understood, named by warnings().
class PointListReader {
  public:
    // `file` names the input in the warnings and the account.
    explicit PointListReader(const Workspace& lines,
                             PointListLayout wanted = PointListLayout::Automatic,
                             const MessageTexts& texts = {}, std::string file = {});
    // Its line source counts into its own account.
    PointListReader(const PointListReader&) = delete;
    PointListReader& operator=(const PointListReader&) = delete;

    // Not empty when the file is no point list: the error naming its first
    // lines, in the language of `texts`. Nothing is read then.
    const std::string& refusal() const { return decision_.refusal; }
    const PointListShape& shape() const { return decision_.shape; }

    // Reads the next record; false at the end of the input.
    bool ReadPointRecord(PointRecord& record);

    // The number of the line the last record came from (1-based).
    std::size_t lineNumber() const { return lines_.lineNumber(); }

    // The export wrote nothing of the last record: its line is not
    // understood (the general warning names it).
    void leaveOut();
    // The export wrote the last record with a field it could not read and
    // names the line in its own warning: its line is not understood.
    void readImperfectly();

    // Every line read so far.
    const LineAccount& account();
    // The input as the messages name it.
    const std::string& file() const { return file_; }

    // One text per kind of problem met so far, for a warning after the
    // export, in the language of `texts`.
    std::vector<std::string> warnings() const;

  private:
    void settle();

    MessageTexts texts_;
    std::string file_;
    LineAccount account_;
    LayoutDecision decision_;
    TextLines lines_;
    std::string line_;
    std::size_t unsettled_ = 0;  // the line of the last record, until it is counted
    // The program's own layout with commas, as it has always been read.
    LineIssue short_{
        msg::kFewerThanThreeCommas,
        "%1 had fewer than the three commas that separate name, X, Y and Z; "
        "the missing fields were read as empty."};
    // Any other reading.
    LineIssue misfit_;
};

}  // namespace tarvosen::points
