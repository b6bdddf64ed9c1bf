#pragma once
// SpreadsheetSession: the one interface through which the record books build
// workbooks. Behind it is our own in-memory workbook engine (cells, formulas,
// styles, merges), saved as .xlsx with every formula's computed value cached,
// and able to open an .xlsx template.
//
// Typical use (rows and columns are 1-based, addresses in A1 style):
//
//     SpreadsheetSession book;
//     book.NewWorkbook();                        // or book.OpenWorkbook(templatePath)
//     Sheet sheet = book.AddSheet();             // appended, becomes the active sheet
//     sheet.SetName("水准线1");
//     sheet.SetDisplayGridlines(false);
//     sheet.Range("D1:G1").Merge();
//     sheet.Range("D1").SetValue("等电子水准测量记录手簿");
//     sheet.Range("D1").SetFontName("黑体");
//     sheet.Cells(9, 5).SetValue("1.52340");     // a text that reads as a number is a number
//     sheet.Cells(9, 7).SetFormula("=(E9-F9)*1000");
//     double mm = sheet.Cells(9, 7).Value2();    // computed on demand
//     book.SaveAs("/path/book.xlsx");
//     book.Close();
//
// Every call completes or throws SpreadsheetError (a tarvosen::Failure, so a
// command that does not catch it ends with the error shown to the user). The
// message names the sheet and cell where that helps.
//
// Texts are UTF-8. A text that is not valid UTF-8 (8-bit instrument data in
// GB18030) is converted from GB18030 when it is stored.
//
// Sheet and CellRange are small handles (copy them freely). They stay valid until
// the workbook is closed or another one is started; using one after that
// throws SpreadsheetError.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "app/errors.h"

namespace tarvosen::spreadsheet {

// Any failure of the workbook engine: no workbook open, a bad address, a
// read-back that is not a number, a file that cannot be read or written.
class SpreadsheetError : public Failure {
public:
    using Failure::Failure;
};

// Characters a sheet name may not contain.
inline constexpr std::string_view kSheetNameForbidden = ":\\/?*[]";

// Sheet names are equal when they differ only in the case of ASCII letters,
// as spreadsheet programs compare them.
bool SameSheetName(std::string_view a, std::string_view b);

// ---------------------------------------------------------------------------
// Values

// Error values of formulas, written into the file as a spreadsheet program
// shows them ("#DIV/0!" ...). A circular reference gives Circular.
enum class CellError { Div0, Value, Ref, Name, Num, NA, Circular };
// "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A", "#CIRCULAR!"
std::string_view ErrorText(CellError error);

struct Empty {
    bool operator==(const Empty&) const = default;
};

// What a cell holds, or what its formula gives: nothing, a number, a text, a
// truth value or an error.
using CellValue = std::variant<Empty, double, std::string, bool, CellError>;

// ---------------------------------------------------------------------------
// Styles

// An RGB colour 0xRRGGBB. The automation interface of desktop spreadsheet
// programs uses BGR numbers (255 = red); FromBgr converts those.
struct Colour {
    std::uint32_t rgb = 0;
    static constexpr Colour FromRgb(std::uint32_t rgb) { return Colour{rgb & 0xFFFFFFu}; }
    static constexpr Colour FromBgr(std::uint32_t bgr) {
        return Colour{((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu)};
    }
    bool operator==(const Colour&) const = default;
};
inline constexpr Colour kBlack = Colour::FromRgb(0x000000);
inline constexpr Colour kRed = Colour::FromRgb(0xFF0000);

enum class HorizontalAlignment { General, Left, Center, Right };
enum class VerticalAlignment { Bottom, Center, Top };
enum class Underline { None, Single, Double };
enum class BorderWeight { None, Thin, Medium, Thick };

// The edges of a range a border can be set on. InsideHorizontal are the lines
// between the rows of the range, InsideVertical those between its columns.
enum class BorderEdge { Left, Top, Bottom, Right, InsideVertical, InsideHorizontal };

// ---------------------------------------------------------------------------
// Addresses

// A 1-based rectangle of cells: rows first..last, columns first..last.
struct CellRect {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;
    bool operator==(const CellRect&) const = default;
};

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// "A" for 1, "Z" for 26, "AA" for 27.
std::string ColumnName(int column);
// "B7" for (7, 2).
std::string CellName(int row, int column);
// "A9:T14", or "B7" when the rectangle is a single cell.
std::string RectName(const CellRect& rect);
// Parses "B7", "$B$7", "A9:T14", "$A$1:$J$11" (case-insensitive). Throws
// SpreadsheetError naming the text when it is not such an address.
CellRect ParseRect(std::string_view address);

class Workbook;  // the engine, see workbook.h
struct SheetData;

class Sheet;

// ---------------------------------------------------------------------------
// A rectangle of cells on one sheet. Setters apply to every cell of the range;
// read-backs read its top-left cell.
class CellRange {
public:
    // A handle to no range; using it throws SpreadsheetError.
    CellRange() = default;

    const CellRect& Rect() const { return rect_; }
    // "A9:T14" or "B7".
    std::string Address() const;
    Sheet Parent() const;

    // The cell (row, column) counted from the range's top-left cell (1, 1).
    CellRange Cell(int row, int column) const;

    // --- contents -------------------------------------------------------
    // Puts a text as a spreadsheet program does when it is typed in: "=..."
    // is a formula; a text that reads as a number (leading and trailing blanks
    // allowed) is that number; a leading apostrophe keeps the rest as text and
    // is not part of the value; "" empties the cell; anything else is text.
    void SetValue(std::string_view text) const;
    void SetValue(const char* text) const { SetValue(std::string_view(text)); }
    void SetValue(const std::string& text) const { SetValue(std::string_view(text)); }
    void SetValue(double number) const;
    // A single-precision number is stored as the double of its shortest
    // decimal form (1.6f is stored as 1.6, not as 1.60000002384185791).
    void SetValue(float number) const;
    // Every integer type (int, long, unsigned short, ...), stored as a number.
    template <typename T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>)
    void SetValue(T number) const {
        SetValue(static_cast<double>(number));
    }
    void SetValue(bool truth) const;
    // Puts a value exactly as given (no text parsing): to copy another cell's
    // value, other.SetValue(cell.Value()). An error value is stored as text.
    void SetValue(const CellValue& value) const;
    // Puts a text verbatim as text, never a number or a formula.
    void SetText(std::string_view text) const;
    // Puts a formula. A text without a leading "=" is put as by SetValue(text),
    // as a spreadsheet program does. Syntax errors throw SpreadsheetError
    // naming the cell and the formula.
    void SetFormula(std::string_view formula) const;

    // Removes values and formulas and keeps the styles.
    void ClearContents() const;

    // Copies values, formulas (their relative references shifted by the
    // distance moved), styles and merges of this range to `destination`,
    // which is either a single cell (the top-left of the copy) or a range of
    // the same size. The destination may be on another sheet of the workbook.
    void CopyTo(const CellRange& destination) const;

    // --- read-back ------------------------------------------------------
    // The value of the top-left cell, a formula's result computed on demand.
    CellValue Value() const;
    // The value as text: "" for an empty cell, a number in at most 15
    // significant digits without exponent for everyday magnitudes ("1.5",
    // "-0.2", "1001"), "TRUE"/"FALSE", an error as its text ("#DIV/0!").
    std::string ValueText() const;
    // The value as a number: empty is 0, a text that reads as a number is
    // that number, TRUE 1 and FALSE 0. Any other text or an error value
    // throws SpreadsheetError naming the cell.
    double Value2() const;
    // The formula of the top-left cell with its "=", or its value as text
    // when it holds no formula.
    std::string Formula() const;
    bool HasFormula() const;

    // --- formats --------------------------------------------------------
    // Number format codes as a spreadsheet program knows them: "0.0",
    // "0.00000", "General", "@".
    void SetNumberFormat(std::string_view code) const;
    void SetWrapText(bool wrap) const;
    void SetHorizontalAlignment(HorizontalAlignment alignment) const;
    void SetVerticalAlignment(VerticalAlignment alignment) const;

    // --- fonts ----------------------------------------------------------
    void SetFontName(std::string_view name) const;  // "黑体", "楷体_GB2312", "宋体"
    void SetFontSize(double points) const;
    void SetFontColour(Colour colour) const;  // kRed for the marked values
    void SetFontUnderline(Underline underline) const;
    void SetFontBold(bool bold) const;

    // --- borders --------------------------------------------------------
    // Every edge and every inner line of the range: the outline and the
    // lines between its cells.
    void SetBorders(BorderWeight weight) const;
    // One edge or the inner lines of one direction. A medium outline with
    // thin inner lines is SetBorders(Medium), then SetBorder(InsideHorizontal,
    // Thin) and SetBorder(InsideVertical, Thin).
    void SetBorder(BorderEdge edge, BorderWeight weight) const;

    // --- layout ---------------------------------------------------------
    // Merges the range into one cell showing the top-left cell's value; the
    // other cells' values are dropped. Merged areas it overlaps are taken in
    // (the merge grows to their union).
    void Merge() const;
    // Heights in points, widths in characters of the default font, for every
    // row or column the range covers.
    void SetRowHeight(double points) const;
    void SetColumnWidth(double characters) const;

private:
    friend class Sheet;
    CellRange(std::weak_ptr<SheetData> sheet, CellRect rect) : sheet_(std::move(sheet)), rect_(rect) {}
    std::shared_ptr<SheetData> Lock() const;

    std::weak_ptr<SheetData> sheet_;
    CellRect rect_;
};

// ---------------------------------------------------------------------------
// One worksheet of the workbook.
class Sheet {
public:
    // A handle to no sheet (to be assigned later); using it throws SpreadsheetError.
    Sheet() = default;

    std::string Name() const;
    // Names are unique in the workbook, 1 to 31 characters, without any of
    // : \ / ? * [ ]. A bad or taken name throws SpreadsheetError.
    void SetName(std::string_view name) const;

    // The cell at (row, column), 1-based.
    CellRange Cells(int row, int column) const;
    // A range by its A1 address ("A9:T14", "B7", "$A$1:$J$11").
    CellRange Range(std::string_view address) const;
    // A range by its corners.
    CellRange Span(int firstRow, int firstColumn, int lastRow, int lastColumn) const;

    void SetRowHeight(int row, double points) const;
    void SetColumnWidth(int column, double characters) const;

    // Gridlines shown on screen (true for a new sheet).
    void SetDisplayGridlines(bool show) const;
    void SetGridlineColour(Colour colour) const;
    // Rows repeated at the top of every printed page: "A1:J11" or "$1:$11"
    // takes rows 1 to 11.
    void SetPrintTitleRows(std::string_view address) const;
    void SetPrintTitleRows(int firstRow, int lastRow) const;
    // Printed one page wide (as many pages long as it takes), in landscape
    // when the columns are wider than a portrait page.
    void SetFitToPageWidth() const;

    // Position among the workbook's sheets, 0-based.
    int Index() const;

private:
    friend class SpreadsheetSession;
    friend class CellRange;
    explicit Sheet(std::weak_ptr<SheetData> sheet) : sheet_(std::move(sheet)) {}
    std::shared_ptr<SheetData> Lock() const;

    std::weak_ptr<SheetData> sheet_;
};

// ---------------------------------------------------------------------------
// One workbook at a time, from NewWorkbook or OpenWorkbook to Close.
class SpreadsheetSession {
public:
    SpreadsheetSession();
    ~SpreadsheetSession();
    SpreadsheetSession(const SpreadsheetSession&) = delete;
    SpreadsheetSession& operator=(const SpreadsheetSession&) = delete;

    // A new workbook with one empty default sheet "Sheet1", which is dropped
    // when the first sheet is added while it is still untouched. Closes any
    // workbook still open without saving it.
    void NewWorkbook();
    // Opens an .xlsx file (a template): values, formulas, styles, merges,
    // widths, heights and sheet names. The first sheet (or the one the file
    // marks active) is the active sheet. Throws SpreadsheetError naming the
    // file when it cannot be read.
    void OpenWorkbook(const std::filesystem::path& path);
    bool HasWorkbook() const;

    // Appends a sheet named "SheetN" after the existing ones and makes it the
    // active sheet.
    Sheet AddSheet();
    Sheet ActiveSheet() const;
    void Activate(const Sheet& sheet);
    int SheetCount() const;
    Sheet SheetAt(int index) const;  // 0-based
    std::optional<Sheet> FindSheet(std::string_view name) const;

    // Shorthands for the active sheet's window settings.
    void SetDisplayGridlines(bool show);
    void SetGridlineColour(Colour colour);

    // Computes every formula and writes the workbook as .xlsx, each formula
    // with its computed value. The file is written beside the target under a
    // temporary name and renamed over it, so a failed save leaves no
    // half-written file. Throws SpreadsheetError naming the path on failure.
    // `beforeReplace` runs just before the workbook replaces the file; an
    // exception from it (a cancelled command) leaves the file as it was.
    void SaveAs(const std::filesystem::path& path, const std::function<void()>& beforeReplace = {});
    // Discards the workbook (no save). Handles taken from it become invalid.
    void Close();

    // The engine itself, for tests and benchmarks.
    Workbook& Engine();

private:
    Workbook& Require() const;
    std::unique_ptr<Workbook> workbook_;
};

}  // namespace tarvosen::spreadsheet
