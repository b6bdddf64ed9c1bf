#pragma once
// The workbook engine behind SpreadsheetSession: sheets of cells holding
// values, formulas and styles, with a dependency graph so that a write
// invalidates only the formulas that read the cell, and an evaluator that
// computes formulas on demand with an explicit stack (no recursion), so long
// chains of dependent cells and circular references are safe.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "spreadsheet/formula.h"
#include "spreadsheet/merged_areas.h"
#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::spreadsheet {

struct Style {
    std::string fontName = "Calibri";
    double fontSize = 11;
    std::uint32_t fontRgb = 0;
    Underline underline = Underline::None;
    bool bold = false;
    bool italic = false;
    std::string numberFormat = "General";
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool wrap = false;
    // Left, top, right, bottom.
    BorderWeight border[4] = {BorderWeight::None, BorderWeight::None, BorderWeight::None,
                              BorderWeight::None};
    bool filled = false;
    std::uint32_t fillRgb = 0xFFFFFF;

    bool operator==(const Style& other) const;
};

enum Side { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };

// Every distinct style once; cells hold an index. Index 0 is the workbook's
// default style.
class StyleTable {
public:
    StyleTable();
    std::uint32_t Intern(const Style& style);
    const Style& Get(std::uint32_t index) const { return styles_[index]; }
    std::size_t Size() const { return styles_.size(); }
    // Replaces the default style (a template's default font).
    void SetDefault(const Style& style);

private:
    struct Hash {
        std::size_t operator()(const Style& style) const;
    };
    std::vector<Style> styles_;
    std::unordered_map<Style, std::uint32_t, Hash> index_;
};

enum class CellState : std::uint8_t { Clean, Dirty, Evaluating };

struct CellKey {
    SheetData* sheet = nullptr;
    int row = 0;
    int column = 0;
    bool operator==(const CellKey&) const = default;
};

struct Cell {
    // A constant, or the last computed result of the formula.
    CellValue value;
    std::unique_ptr<Formula> formula;
    // Formula cells that read this cell (once per reference).
    std::vector<CellKey> dependents;
    std::uint32_t style = 0;
    CellState state = CellState::Clean;
};

struct SheetData {
    Workbook* book = nullptr;
    std::string name;
    // rows[r - 1][c - 1]; rows and columns grow as cells are touched.
    std::vector<std::vector<Cell>> rows;
    std::map<int, double> rowHeights;
    std::map<int, double> columnWidths;
    MergedAreas merges;
    // Formulas reading a large area (SUM(A1:A65536)) listen to the area as a
    // whole instead of through every cell of it.
    struct AreaListener {
        CellRect area;
        CellKey formula;
    };
    std::vector<AreaListener> areaListeners;
    bool showGridlines = true;
    bool gridlineColourSet = false;
    Colour gridlineColour;
    int printTitleFirstRow = 0;  // 0: none
    int printTitleLastRow = 0;
    // Printed one page wide, turned to landscape when its columns are wider
    // than a portrait page.
    bool fitToPageWidth = false;
    // The default sheet of a new workbook, dropped when the first sheet is
    // added while it is still untouched.
    bool isDefaultSheet = false;

    Cell* Find(int row, int column);
    const Cell* Find(int row, int column) const;
    // Creates the cell when needed. Invalidates pointers to other cells of
    // the sheet.
    Cell& At(int row, int column);
    bool IsUntouched() const;
    int LastRow() const { return static_cast<int>(rows.size()); }
};

// The document properties written with a workbook: the comments and the
// custom properties as names and texts, in order.
struct DocumentProperties {
    std::string comments;
    std::vector<std::pair<std::string, std::string>> custom;
};

class Workbook {
public:
    Workbook() = default;
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    std::vector<std::shared_ptr<SheetData>> sheets;
    int active = 0;
    StyleTable styles;
    DocumentProperties properties;
    // While set, a write does not mark the formulas that read the cell for
    // computing again. A reader filling the workbook from a file sets it:
    // every formula it puts is uncomputed anyway, and looking for the readers
    // of every cell it puts would take time in the square of the formulas
    // over large areas.
    bool deferInvalidation = false;

    SheetData& AddSheet(std::string name);
    // Sheet names compare without regard to the case of ASCII letters.
    SheetData* FindSheet(std::string_view name) const;
    int IndexOf(const SheetData& sheet) const;
    // Checks a new sheet name: length, characters, uniqueness.
    void CheckSheetName(const SheetData& sheet, std::string_view name) const;

    // --- contents ------------------------------------------------------
    void PutValue(SheetData& sheet, int row, int column, CellValue value);
    void PutCompiled(SheetData& sheet, int row, int column, Formula formula);
    // A formula we keep verbatim (from a template) with its stored result.
    void PutOpaqueFormula(SheetData& sheet, int row, int column, std::string text,
                          CellValue result);
    void ClearContents(SheetData& sheet, const CellRect& rect);
    void Copy(SheetData& from, const CellRect& source, SheetData& to, int row, int column);
    void Merge(SheetData& sheet, CellRect rect);

    // The cell's value, computing its formula (and what it reads) when needed.
    CellValue Value(SheetData& sheet, int row, int column);
    // Computes every formula not yet computed.
    void EvaluateAll();

    Formula Compile(std::string_view text) const;
    std::string FormulaText(const Formula& formula) const;

    // --- styles --------------------------------------------------------
    void ModifyStyle(SheetData& sheet, const CellRect& rect,
                     const std::function<void(Style&)>& change);
    void SetBorder(SheetData& sheet, const CellRect& rect, BorderEdge edge, BorderWeight weight);

private:
    void Link(const CellKey& key, const Formula& formula);
    void Unlink(const CellKey& key, const Formula& formula);
    void Invalidate(const CellKey& key);
    void Evaluate(const CellKey& key);
    CellValue Run(const Formula& formula, SheetData& sheet);
    // Drops the cell's formula and its links; the cell must exist.
    void DropFormula(SheetData& sheet, int row, int column);
};

// The rectangle a reference token covers, corners in order.
CellRect RectOf(const Token& token);

// Areas larger than this are linked as a whole (see SheetData::areaListeners).
inline constexpr std::int64_t kLargeArea = 1024;
// Operations that touch every cell of a range refuse ranges larger than this.
inline constexpr std::int64_t kMaxCellsPerOperation = 4'000'000;
std::int64_t AreaOf(const CellRect& rect);
// Throws SpreadsheetError naming the range when it is larger than
// kMaxCellsPerOperation.
void CheckOperationSize(const SheetData& sheet, const CellRect& rect);

}  // namespace tarvosen::spreadsheet
