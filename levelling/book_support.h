#pragma once
// What the three record books share: sheet naming, formula texts, range
// formatting, and the warnings about observation lines a book cannot place.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/user_interface.h"
#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::levelling {

namespace ss = tarvosen::spreadsheet;

// The name of a levelling line's sheet: "水准线" + the line number.
std::string LevellingSheetName(std::string_view lineNumber);

// Adds a sheet and names it. Characters a sheet name cannot hold become "_",
// and a name already taken (two levelling lines with the same number) gets
// " (2)", " (3)", ... so no line is lost.
ss::Sheet AddNamedSheet(ss::SpreadsheetSession& session, std::string name);

// A formula from a pattern whose "%d" take the row numbers in order:
// Formula("=(D%d-E%d)*1000", 9, 9) is "=(D9-E9)*1000".
std::string Formula(std::string_view pattern, std::initializer_list<int> rows);

// Medium borders on the whole range with thin inner lines, as the tables of
// the books are drawn.
void DrawTableBorders(const ss::CellRange& range);
void CentreBothWays(const ss::CellRange& range);

// Collects observation lines a sheet cannot place and names them in one
// warning when the sheet is done.
class LeftOutLines {
  public:
    void add(std::size_t lineNumber);
    std::size_t count() const { return count_; }
    // "observation lines 5, 6 and 7" (the first few named, then "and N more").
    std::string describe() const;
    // Shows "<sheet>: left out observation lines 5, 6 and 7 (<reason>)." if any were
    // collected, and starts again.
    void report(UserInterface& user, const std::string& sheetName, std::string_view reason);

  private:
    std::vector<std::size_t> named_;
    std::size_t count_ = 0;
};

}  // namespace tarvosen::levelling
