// SpreadsheetSession and its handles over the workbook engine.

#include "spreadsheet/spreadsheet_session.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "spreadsheet/values.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/xlsx.h"

namespace tarvosen::spreadsheet {

std::string_view ErrorText(CellError error) {
    switch (error) {
        case CellError::Div0: return "#DIV/0!";
        case CellError::Value: return "#VALUE!";
        case CellError::Ref: return "#REF!";
        case CellError::Name: return "#NAME?";
        case CellError::Num: return "#NUM!";
        case CellError::NA: return "#N/A";
        case CellError::Circular: return "#CIRCULAR!";
    }
    return "#VALUE!";
}

namespace {

void CheckRect(const CellRect& r) {
    if (r.firstRow < 1 || r.firstColumn < 1 || r.lastRow > kMaxRows || r.lastColumn > kMaxColumns ||
        r.firstRow > r.lastRow || r.firstColumn > r.lastColumn)
        throw SpreadsheetError("Rows " + std::to_string(r.firstRow) + " to " +
                               std::to_string(r.lastRow) + ", columns " +
                               std::to_string(r.firstColumn) + " to " +
                               std::to_string(r.lastColumn) + " are not a range of the sheet");
}

std::string Where(const SheetData& sheet, int row, int column) {
    return "Sheet \"" + sheet.name + "\", cell " + CellName(row, column);
}

template <typename F>
void ForEachCell(const CellRect& r, F f) {
    for (int row = r.firstRow; row <= r.lastRow; ++row)
        for (int column = r.firstColumn; column <= r.lastColumn; ++column) f(row, column);
}

}  // namespace

// ---------------------------------------------------------------------------
// CellRange

std::shared_ptr<SheetData> CellRange::Lock() const {
    auto sheet = sheet_.lock();
    if (!sheet)
        throw SpreadsheetError("Range " + RectName(rect_) + " belongs to no open workbook");
    return sheet;
}

std::string CellRange::Address() const { return RectName(rect_); }
Sheet CellRange::Parent() const { return Sheet(sheet_); }

CellRange CellRange::Cell(int row, int column) const {
    CellRect r{rect_.firstRow + row - 1, rect_.firstColumn + column - 1,
               rect_.firstRow + row - 1, rect_.firstColumn + column - 1};
    CheckRect(r);
    return CellRange(sheet_, r);
}

void CellRange::SetValue(std::string_view text) const {
    if (text.empty()) return SetValue(CellValue(Empty{}));
    if (text.front() == '\'') return SetText(text.substr(1));
    if (text.front() == '=' && text.size() > 1) return SetFormula(text);
    if (auto number = ParseWholeNumber(text)) return SetValue(CellValue(*number));
    SetText(text);
}

void CellRange::SetValue(double number) const {
    if (!std::isfinite(number)) return SetValue(CellValue(CellError::Num));
    SetValue(CellValue(number));
}

void CellRange::SetValue(float number) const {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number);
    if (ec != std::errc()) return SetValue(static_cast<double>(number));
    *end = '\0';
    SetValue(std::strtod(buffer, nullptr));
}

void CellRange::SetValue(bool truth) const { SetValue(CellValue(truth)); }

void CellRange::SetValue(const CellValue& value) const {
    auto sheet = Lock();
    CellValue stored = value;
    if (auto* e = std::get_if<CellError>(&value)) stored = std::string(ErrorText(*e));
    if (auto* s = std::get_if<std::string>(&value)) stored = ToUtf8(*s);
    if (auto* d = std::get_if<double>(&value); d && !std::isfinite(*d))
        stored = std::string(ErrorText(CellError::Num));
    if (rect_.firstRow == rect_.lastRow && rect_.firstColumn == rect_.lastColumn) {
        sheet->book->PutValue(*sheet, rect_.firstRow, rect_.firstColumn, std::move(stored));
        return;
    }
    CheckOperationSize(*sheet, rect_);
    ForEachCell(rect_, [&](int row, int column) {
        sheet->book->PutValue(*sheet, row, column, stored);
    });
}

void CellRange::SetText(std::string_view text) const {
    SetValue(CellValue(std::string(text)));
}

void CellRange::SetFormula(std::string_view formula) const {
    if (formula.empty() || formula.front() != '=') return SetValue(formula);
    auto sheet = Lock();
    Workbook& book = *sheet->book;
    std::string text = ToUtf8(formula);
    spreadsheet::Formula compiled;
    try {
        compiled = book.Compile(text);
    } catch (const SpreadsheetError& error) {
        throw SpreadsheetError(Where(*sheet, rect_.firstRow, rect_.firstColumn) + ": " +
                               error.what());
    }
    if (rect_.firstRow == rect_.lastRow && rect_.firstColumn == rect_.lastColumn) {
        book.PutCompiled(*sheet, rect_.firstRow, rect_.firstColumn, std::move(compiled));
        return;
    }
    // Over a range each cell gets the formula as if filled from the top-left cell.
    CheckOperationSize(*sheet, rect_);
    ForEachCell(rect_, [&](int row, int column) {
        book.PutCompiled(*sheet, row, column,
                         ShiftFormula(compiled, row - rect_.firstRow, column - rect_.firstColumn));
    });
}

void CellRange::ClearContents() const {
    auto sheet = Lock();
    sheet->book->ClearContents(*sheet, rect_);
}

void CellRange::CopyTo(const CellRange& destination) const {
    auto from = Lock();
    auto to = destination.Lock();
    const CellRect& d = destination.rect_;
    bool single = d.firstRow == d.lastRow && d.firstColumn == d.lastColumn;
    bool sameSize = d.lastRow - d.firstRow == rect_.lastRow - rect_.firstRow &&
                    d.lastColumn - d.firstColumn == rect_.lastColumn - rect_.firstColumn;
    if (!single && !sameSize)
        throw SpreadsheetError("Sheet \"" + to->name + "\": range " + RectName(d) +
                               " has another size than " + RectName(rect_) + " copied to it");
    from->book->Copy(*from, rect_, *to, d.firstRow, d.firstColumn);
}

CellValue CellRange::Value() const {
    auto sheet = Lock();
    return sheet->book->Value(*sheet, rect_.firstRow, rect_.firstColumn);
}

std::string CellRange::ValueText() const { return ValueToText(Value()); }

double CellRange::Value2() const {
    auto sheet = Lock();
    CellValue value = sheet->book->Value(*sheet, rect_.firstRow, rect_.firstColumn);
    if (auto* e = std::get_if<CellError>(&value))
        throw SpreadsheetError(Where(*sheet, rect_.firstRow, rect_.firstColumn) + " holds " +
                               std::string(ErrorText(*e)) + ", not a number");
    NumberOrError n = ToNumber(value);
    if (n.error)
        throw SpreadsheetError(Where(*sheet, rect_.firstRow, rect_.firstColumn) + " holds \"" +
                               ValueToText(value) + "\", not a number");
    return n.number;
}

std::string CellRange::Formula() const {
    auto sheet = Lock();
    const spreadsheet::Cell* cell = sheet->Find(rect_.firstRow, rect_.firstColumn);
    if (cell && cell->formula) return sheet->book->FormulaText(*cell->formula);
    return ValueText();
}

bool CellRange::HasFormula() const {
    auto sheet = Lock();
    const spreadsheet::Cell* cell = sheet->Find(rect_.firstRow, rect_.firstColumn);
    return cell && cell->formula;
}

#define TARVOSEN_STYLE_SETTER(signature, body)                                   \
    void CellRange::signature const {                                           \
        auto sheet = Lock();                                                     \
        sheet->book->ModifyStyle(*sheet, rect_, [&](Style& style) { body; });    \
    }

TARVOSEN_STYLE_SETTER(SetNumberFormat(std::string_view code),
                      style.numberFormat = code.empty() ? "General" : std::string(code))
TARVOSEN_STYLE_SETTER(SetWrapText(bool wrap), style.wrap = wrap)
TARVOSEN_STYLE_SETTER(SetHorizontalAlignment(HorizontalAlignment alignment),
                      style.horizontal = alignment)
TARVOSEN_STYLE_SETTER(SetVerticalAlignment(VerticalAlignment alignment), style.vertical = alignment)
TARVOSEN_STYLE_SETTER(SetFontName(std::string_view name), style.fontName = ToUtf8(name))
TARVOSEN_STYLE_SETTER(SetFontSize(double points), style.fontSize = points)
TARVOSEN_STYLE_SETTER(SetFontColour(Colour colour), style.fontRgb = colour.rgb)
TARVOSEN_STYLE_SETTER(SetFontUnderline(Underline underline), style.underline = underline)
TARVOSEN_STYLE_SETTER(SetFontBold(bool bold), style.bold = bold)

#undef TARVOSEN_STYLE_SETTER

void CellRange::SetBorders(BorderWeight weight) const {
    for (BorderEdge edge : {BorderEdge::Left, BorderEdge::Top, BorderEdge::Bottom,
                            BorderEdge::Right, BorderEdge::InsideVertical,
                            BorderEdge::InsideHorizontal})
        SetBorder(edge, weight);
}

void CellRange::SetBorder(BorderEdge edge, BorderWeight weight) const {
    auto sheet = Lock();
    sheet->book->SetBorder(*sheet, rect_, edge, weight);
}

void CellRange::Merge() const {
    auto sheet = Lock();
    sheet->book->Merge(*sheet, rect_);
}

void CellRange::SetRowHeight(double points) const {
    if (!(points >= 0 && points <= 409))
        throw SpreadsheetError("Row height " + FormatNumber(points) + " is not 0 to 409 points");
    auto sheet = Lock();
    for (int row = rect_.firstRow; row <= rect_.lastRow; ++row) sheet->rowHeights[row] = points;
    sheet->isDefaultSheet = false;
}

void CellRange::SetColumnWidth(double characters) const {
    if (!(characters >= 0 && characters <= 255))
        throw SpreadsheetError("Column width " + FormatNumber(characters) +
                               " is not 0 to 255 characters");
    auto sheet = Lock();
    for (int column = rect_.firstColumn; column <= rect_.lastColumn; ++column)
        sheet->columnWidths[column] = characters;
    sheet->isDefaultSheet = false;
}

// ---------------------------------------------------------------------------
// Sheet

std::shared_ptr<SheetData> Sheet::Lock() const {
    auto sheet = sheet_.lock();
    if (!sheet) throw SpreadsheetError("The sheet belongs to no open workbook");
    return sheet;
}

std::string Sheet::Name() const { return Lock()->name; }

void Sheet::SetName(std::string_view name) const {
    auto sheet = Lock();
    std::string utf8 = ToUtf8(name);
    sheet->book->CheckSheetName(*sheet, utf8);
    sheet->name = utf8;
    sheet->isDefaultSheet = false;
}

CellRange Sheet::Cells(int row, int column) const {
    return Span(row, column, row, column);
}

CellRange Sheet::Range(std::string_view address) const {
    return CellRange(sheet_, ParseRect(address));
}

CellRange Sheet::Span(int firstRow, int firstColumn, int lastRow, int lastColumn) const {
    CellRect r{firstRow, firstColumn, lastRow, lastColumn};
    CheckRect(r);
    return CellRange(sheet_, r);
}

void Sheet::SetRowHeight(int row, double points) const { Cells(row, 1).SetRowHeight(points); }
void Sheet::SetColumnWidth(int column, double characters) const {
    Cells(1, column).SetColumnWidth(characters);
}

void Sheet::SetDisplayGridlines(bool show) const {
    auto sheet = Lock();
    sheet->showGridlines = show;
    if (!show) sheet->isDefaultSheet = false;
}

void Sheet::SetGridlineColour(Colour colour) const {
    auto sheet = Lock();
    sheet->gridlineColour = colour;
    sheet->gridlineColourSet = true;
}

void Sheet::SetPrintTitleRows(std::string_view address) const {
    std::string_view text = address;
    // "$1:$11" names whole rows; anything else is a range whose rows count.
    auto rowsOnly = [](std::string_view part, int& row) {
        while (!part.empty() && (part.front() == '$' || part.front() == ' ')) part.remove_prefix(1);
        while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
        if (part.empty()) return false;
        auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), row);
        return ec == std::errc() && end == part.data() + part.size();
    };
    std::size_t colon = text.find(':');
    int first = 0;
    int last = 0;
    if (rowsOnly(text.substr(0, colon), first) &&
        rowsOnly(colon == std::string_view::npos ? text : text.substr(colon + 1), last)) {
        SetPrintTitleRows(first, last);
        return;
    }
    CellRect r = ParseRect(address);
    SetPrintTitleRows(r.firstRow, r.lastRow);
}

void Sheet::SetPrintTitleRows(int firstRow, int lastRow) const {
    CheckRect(CellRect{firstRow, 1, lastRow, 1});
    auto sheet = Lock();
    sheet->printTitleFirstRow = firstRow;
    sheet->printTitleLastRow = lastRow;
    sheet->isDefaultSheet = false;
}

void Sheet::SetFitToPageWidth() const {
    auto sheet = Lock();
    sheet->fitToPageWidth = true;
    sheet->isDefaultSheet = false;
}

int Sheet::Index() const {
    auto sheet = Lock();
    return sheet->book->IndexOf(*sheet);
}

// ---------------------------------------------------------------------------
// SpreadsheetSession

SpreadsheetSession::SpreadsheetSession() = default;
SpreadsheetSession::~SpreadsheetSession() = default;

Workbook& SpreadsheetSession::Require() const {
    if (!workbook_) throw SpreadsheetError("No workbook is open");
    return *workbook_;
}

Workbook& SpreadsheetSession::Engine() { return Require(); }

void SpreadsheetSession::NewWorkbook() {
    workbook_ = std::make_unique<Workbook>();
    workbook_->AddSheet("Sheet1").isDefaultSheet = true;
    workbook_->active = 0;
}

void SpreadsheetSession::OpenWorkbook(const std::filesystem::path& path) {
    workbook_.reset();
    workbook_ = ReadXlsx(path);
}

bool SpreadsheetSession::HasWorkbook() const { return workbook_ != nullptr; }

Sheet SpreadsheetSession::AddSheet() {
    Workbook& book = Require();
    if (book.sheets.size() == 1 && book.sheets[0]->IsUntouched()) book.sheets.clear();
    std::string name;
    for (std::size_t n = book.sheets.size() + 1;; ++n) {
        name = "Sheet" + std::to_string(n);
        if (!book.FindSheet(name)) break;
    }
    book.AddSheet(name);
    book.active = static_cast<int>(book.sheets.size()) - 1;
    return Sheet(book.sheets.back());
}

Sheet SpreadsheetSession::ActiveSheet() const {
    Workbook& book = Require();
    if (book.sheets.empty()) throw SpreadsheetError("The workbook has no sheet");
    return SheetAt(book.active);
}

void SpreadsheetSession::Activate(const Sheet& sheet) {
    int index = sheet.Index();
    if (index < 0) throw SpreadsheetError("The sheet is not in this workbook");
    Require().active = index;
}

int SpreadsheetSession::SheetCount() const { return static_cast<int>(Require().sheets.size()); }

Sheet SpreadsheetSession::SheetAt(int index) const {
    Workbook& book = Require();
    if (index < 0 || index >= static_cast<int>(book.sheets.size()))
        throw SpreadsheetError("The workbook has no sheet number " + std::to_string(index + 1));
    return Sheet(book.sheets[static_cast<std::size_t>(index)]);
}

std::optional<Sheet> SpreadsheetSession::FindSheet(std::string_view name) const {
    Workbook& book = Require();
    const SheetData* found = book.FindSheet(name);
    for (auto& sheet : book.sheets)
        if (sheet.get() == found) return Sheet(sheet);
    return std::nullopt;
}

void SpreadsheetSession::SetDisplayGridlines(bool show) { ActiveSheet().SetDisplayGridlines(show); }
void SpreadsheetSession::SetGridlineColour(Colour colour) {
    ActiveSheet().SetGridlineColour(colour);
}

void SpreadsheetSession::SaveAs(const std::filesystem::path& path,
                                const std::function<void()>& beforeReplace) {
    WriteXlsx(Require(), path, beforeReplace);
}

void SpreadsheetSession::Close() { workbook_.reset(); }

}  // namespace tarvosen::spreadsheet
