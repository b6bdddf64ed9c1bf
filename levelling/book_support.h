#pragma once
// What the three record books share: sheet naming, formula texts, range
// formatting, and the warnings about observation lines a book cannot place.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/user_interface.h"
#include "i18n/line_ranges.h"
#include "i18n/message_catalogue.h"
#include "levelling/levelling_model.h"
#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::levelling {

namespace ss = tarvosen::spreadsheet;

// The name of a levelling line's sheet: "水准线" + the line number.
std::string LevellingSheetName(std::string_view lineNumber);

// Number formats of the books: metres to 0.01 mm (readings, height
// differences, heights), millimetres to 0.01 mm, distances to 0.01 m.
inline constexpr const char* kMetresTo001Mm = "0.00000";
inline constexpr const char* kMillimetresTo001 = "0.00";
inline constexpr const char* kDistanceMetres = "0.00";

// A distance's format as it was read: "0.0" for a text with one decimal (or
// none), "0.00" for more.
const char* DistanceFormatAsRead(std::string_view text);

// A value computed from decimal texts, rounded to what they can hold, so
// that 89.82000000000001 is stored as 89.82.
double RoundTo(double value, int decimals);

// Adds a sheet (printed one page wide) and names it. Characters a sheet name cannot hold become "_",
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
    void add(std::size_t lineNumber) { lines_.push_back(lineNumber); }
    std::size_t count() const { return lines_.size(); }
    // "4-6, 67": sorted, consecutive lines as ranges.
    std::string describe(const MessageTexts& texts) const { return LineRangesText(lines_, texts); }
    // Shows "<where>: left out observation lines 4-6, 67 (<reason>)." if any
    // were collected, and starts again; `reason` is in the language of `texts`.
    void report(UserInterface& user, const std::string& where, std::string_view reason,
                const MessageTexts& texts = {});

    // Where a sheet's lines come from: "<file>, sheet <sheet>".
    static std::string Where(const std::string& file, const std::string& sheetName,
                             const MessageTexts& texts);
    // Reports a sheet's lines left out before its first point height and as
    // a third reading of one staff at a set-up, and starts both again.
    static void ReportSetUpLeftOuts(UserInterface& user, const std::string& where,
                                    LeftOutLines& beforeFirstPoint, LeftOutLines& extraReadings,
                                    const MessageTexts& texts);

  private:
    std::vector<std::size_t> lines_;
};

// The intermediate sights of a file that a book has no place for: one
// warning naming how many, their lines, and the book that lists them.
class LeftOutIntermediateSights {
  public:
    void add(std::size_t lineNumber) { lines_.add(lineNumber); }
    void report(UserInterface& user, const std::string& file, const MessageTexts& texts);

  private:
    LeftOutLines lines_;
};

}  // namespace tarvosen::levelling
