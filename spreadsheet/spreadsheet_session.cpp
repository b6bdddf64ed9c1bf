// SpreadsheetSession over the workbook engine.

#include "spreadsheet/spreadsheet_session.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "spreadsheet/workbook.h"

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

std::shared_ptr<SheetData> CellRange::Lock() const {
    auto sheet = sheet_.lock();
    if (!sheet) throw SpreadsheetError("The workbook of this range is closed");
    return sheet;
}
std::string CellRange::Address() const { return RectName(rect_); }
Sheet CellRange::Parent() const { return Sheet(sheet_); }
CellRange CellRange::Cell(int row, int column) const {
    return CellRange(sheet_, CellRect{rect_.firstRow + row - 1, rect_.firstColumn + column - 1,
                                      rect_.firstRow + row - 1, rect_.firstColumn + column - 1});
}
void CellRange::SetValue(std::string_view text) const { SetValue(CellValue(std::string(text))); }
void CellRange::SetValue(double number) const { SetValue(CellValue(number)); }
void CellRange::SetValue(float number) const { SetValue(static_cast<double>(number)); }
void CellRange::SetValue(bool truth) const { SetValue(CellValue(truth)); }
void CellRange::SetValue(const CellValue& value) const {
    auto sheet = Lock();
    for (int r = rect_.firstRow; r <= rect_.lastRow; ++r)
        for (int c = rect_.firstColumn; c <= rect_.lastColumn; ++c) sheet->cells[{r, c}] = value;
}
void CellRange::SetText(std::string_view text) const { SetValue(CellValue(std::string(text))); }
void CellRange::SetFormula(std::string_view formula) const { SetText(formula); }
void CellRange::ClearContents() const { SetValue(CellValue()); }
void CellRange::CopyTo(const CellRange&) const {}
CellValue CellRange::Value() const {
    auto sheet = Lock();
    auto it = sheet->cells.find({rect_.firstRow, rect_.firstColumn});
    return it == sheet->cells.end() ? CellValue() : it->second;
}
std::string CellRange::ValueText() const {
    CellValue v = Value();
    if (auto* s = std::get_if<std::string>(&v)) return *s;
    if (auto* d = std::get_if<double>(&v)) return std::to_string(*d);
    return "";
}
double CellRange::Value2() const {
    CellValue v = Value();
    if (auto* d = std::get_if<double>(&v)) return *d;
    return 0;
}
std::string CellRange::Formula() const { return ValueText(); }
bool CellRange::HasFormula() const { return false; }
void CellRange::SetNumberFormat(std::string_view) const {}
void CellRange::SetWrapText(bool) const {}
void CellRange::SetHorizontalAlignment(HorizontalAlignment) const {}
void CellRange::SetVerticalAlignment(VerticalAlignment) const {}
void CellRange::SetFontName(std::string_view) const {}
void CellRange::SetFontSize(double) const {}
void CellRange::SetFontColour(Colour) const {}
void CellRange::SetFontUnderline(Underline) const {}
void CellRange::SetFontBold(bool) const {}
void CellRange::SetBorders(BorderWeight) const {}
void CellRange::SetBorder(BorderEdge, BorderWeight) const {}
void CellRange::Merge() const {}
void CellRange::SetRowHeight(double) const {}
void CellRange::SetColumnWidth(double) const {}

std::shared_ptr<SheetData> Sheet::Lock() const {
    auto sheet = sheet_.lock();
    if (!sheet) throw SpreadsheetError("The workbook of this sheet is closed");
    return sheet;
}
std::string Sheet::Name() const { return Lock()->name; }
void Sheet::SetName(std::string_view name) const { Lock()->name = name; }
CellRange Sheet::Cells(int row, int column) const {
    return CellRange(sheet_, CellRect{row, column, row, column});
}
CellRange Sheet::Range(std::string_view address) const { return CellRange(sheet_, ParseRect(address)); }
CellRange Sheet::Span(int firstRow, int firstColumn, int lastRow, int lastColumn) const {
    return CellRange(sheet_, CellRect{firstRow, firstColumn, lastRow, lastColumn});
}
void Sheet::SetRowHeight(int, double) const {}
void Sheet::SetColumnWidth(int, double) const {}
void Sheet::SetDisplayGridlines(bool) const {}
void Sheet::SetGridlineColour(Colour) const {}
void Sheet::SetPrintTitleRows(std::string_view) const {}
void Sheet::SetPrintTitleRows(int, int) const {}
int Sheet::Index() const {
    auto sheet = Lock();
    auto& all = sheet->book->sheets;
    return static_cast<int>(std::find(all.begin(), all.end(), sheet) - all.begin());
}

SpreadsheetSession::SpreadsheetSession() = default;
SpreadsheetSession::~SpreadsheetSession() = default;
Workbook& SpreadsheetSession::Require() const {
    if (!workbook_) throw SpreadsheetError("No workbook is open");
    return *workbook_;
}
Workbook& SpreadsheetSession::Engine() { return Require(); }
void SpreadsheetSession::NewWorkbook() { workbook_ = std::make_unique<Workbook>(); AddSheet(); }
void SpreadsheetSession::OpenWorkbook(const std::filesystem::path&) { NewWorkbook(); }
bool SpreadsheetSession::HasWorkbook() const { return workbook_ != nullptr; }
Sheet SpreadsheetSession::AddSheet() {
    Workbook& book = Require();
    auto sheet = std::make_shared<SheetData>();
    sheet->book = &book;
    sheet->name = "Sheet" + std::to_string(book.sheets.size() + 1);
    book.sheets.push_back(sheet);
    book.active = static_cast<int>(book.sheets.size()) - 1;
    return Sheet(sheet);
}
Sheet SpreadsheetSession::ActiveSheet() const { return SheetAt(Require().active); }
void SpreadsheetSession::Activate(const Sheet& sheet) { Require().active = sheet.Index(); }
int SpreadsheetSession::SheetCount() const { return static_cast<int>(Require().sheets.size()); }
Sheet SpreadsheetSession::SheetAt(int index) const {
    Workbook& book = Require();
    if (index < 0 || index >= static_cast<int>(book.sheets.size()))
        throw SpreadsheetError("No sheet " + std::to_string(index));
    return Sheet(book.sheets[static_cast<std::size_t>(index)]);
}
std::optional<Sheet> SpreadsheetSession::FindSheet(std::string_view name) const {
    for (auto& sheet : Require().sheets)
        if (sheet->name == name) return Sheet(sheet);
    return std::nullopt;
}
void SpreadsheetSession::SetDisplayGridlines(bool show) { ActiveSheet().SetDisplayGridlines(show); }
void SpreadsheetSession::SetGridlineColour(Colour colour) { ActiveSheet().SetGridlineColour(colour); }
void SpreadsheetSession::SaveAs(const std::filesystem::path&) { Require(); }
void SpreadsheetSession::Close() { workbook_.reset(); }

}  // namespace tarvosen::spreadsheet
