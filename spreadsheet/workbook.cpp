// Workbook engine: cells, dependency graph, evaluation, copy, merge, styles.

#include "spreadsheet/workbook.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "spreadsheet/functions.h"
#include "spreadsheet/values.h"

namespace tarvosen::spreadsheet {

// ---------------------------------------------------------------------------
// Styles

bool Style::operator==(const Style& o) const {
    return fontName == o.fontName && fontSize == o.fontSize && fontRgb == o.fontRgb &&
           underline == o.underline && bold == o.bold && italic == o.italic &&
           numberFormat == o.numberFormat && horizontal == o.horizontal &&
           vertical == o.vertical && wrap == o.wrap && std::equal(border, border + 4, o.border) &&
           filled == o.filled && fillRgb == o.fillRgb;
}

std::size_t StyleTable::Hash::operator()(const Style& s) const {
    std::size_t h = std::hash<std::string>()(s.fontName) ^ (std::hash<std::string>()(s.numberFormat) << 1);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(std::hash<double>()(s.fontSize));
    mix(s.fontRgb);
    mix(static_cast<std::size_t>(s.underline) | (std::size_t(s.bold) << 3) |
        (std::size_t(s.italic) << 4) | (static_cast<std::size_t>(s.horizontal) << 5) |
        (static_cast<std::size_t>(s.vertical) << 8) | (std::size_t(s.wrap) << 11) |
        (std::size_t(s.filled) << 12));
    for (BorderWeight b : s.border) mix(static_cast<std::size_t>(b));
    mix(s.fillRgb);
    return h;
}

StyleTable::StyleTable() { Intern(Style{}); }

std::uint32_t StyleTable::Intern(const Style& style) {
    auto it = index_.find(style);
    if (it != index_.end()) return it->second;
    auto index = static_cast<std::uint32_t>(styles_.size());
    styles_.push_back(style);
    index_.emplace(style, index);
    return index;
}

void StyleTable::SetDefault(const Style& style) {
    index_.erase(styles_[0]);
    styles_[0] = style;
    index_[style] = 0;
}

// ---------------------------------------------------------------------------
// Sheets

Cell* SheetData::Find(int row, int column) {
    if (row < 1 || row > static_cast<int>(rows.size())) return nullptr;
    auto& cells = rows[static_cast<std::size_t>(row - 1)];
    if (column < 1 || column > static_cast<int>(cells.size())) return nullptr;
    return &cells[static_cast<std::size_t>(column - 1)];
}

const Cell* SheetData::Find(int row, int column) const {
    return const_cast<SheetData*>(this)->Find(row, column);
}

Cell& SheetData::At(int row, int column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw SpreadsheetError("Sheet \"" + name + "\": row " + std::to_string(row) +
                               ", column " + std::to_string(column) + " is outside the sheet");
    if (row > static_cast<int>(rows.size())) rows.resize(static_cast<std::size_t>(row));
    auto& cells = rows[static_cast<std::size_t>(row - 1)];
    if (column > static_cast<int>(cells.size())) cells.resize(static_cast<std::size_t>(column));
    isDefaultSheet = false;
    return cells[static_cast<std::size_t>(column - 1)];
}

bool SheetData::IsUntouched() const {
    return isDefaultSheet && rows.empty() && merges.empty() && rowHeights.empty() &&
           columnWidths.empty() && showGridlines && printTitleFirstRow == 0 && !fitToPageWidth;
}

SheetData& Workbook::AddSheet(std::string name) {
    auto sheet = std::make_shared<SheetData>();
    sheet->book = this;
    sheet->name = std::move(name);
    sheets.push_back(sheet);
    return *sheet;
}

bool SameSheetName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

SheetData* Workbook::FindSheet(std::string_view name) const {
    for (auto& sheet : sheets)
        if (SameSheetName(sheet->name, name)) return sheet.get();
    return nullptr;
}

int Workbook::IndexOf(const SheetData& sheet) const {
    for (std::size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i].get() == &sheet) return static_cast<int>(i);
    return -1;
}

void Workbook::CheckSheetName(const SheetData& sheet, std::string_view name) const {
    std::string quoted = "\"";
    quoted.append(name).append("\"");
    const std::size_t characters = TextLength(name);
    if (characters == 0 || characters > 31)
        throw SpreadsheetError("Sheet name " + quoted + " must have 1 to 31 characters");
    if (name.find_first_of(kSheetNameForbidden) != std::string_view::npos)
        throw SpreadsheetError("Sheet name " + quoted + " must not contain : \\ / ? * [ ]");
    if (name.front() == '\'' || name.back() == '\'')
        throw SpreadsheetError("Sheet name " + quoted + " must not begin or end with '");
    SheetData* other = FindSheet(name);
    if (other && other != &sheet)
        throw SpreadsheetError("The workbook already has a sheet named " + quoted);
}

// ---------------------------------------------------------------------------
// Dependency graph

CellRect RectOf(const Token& t) {
    return CellRect{std::min(t.first.row, t.last.row), std::min(t.first.column, t.last.column),
                    std::max(t.first.row, t.last.row), std::max(t.first.column, t.last.column)};
}

std::int64_t AreaOf(const CellRect& r) {
    return std::int64_t{r.lastRow - r.firstRow + 1} * std::int64_t{r.lastColumn - r.firstColumn + 1};
}

void CheckOperationSize(const SheetData& sheet, const CellRect& rect) {
    if (AreaOf(rect) > kMaxCellsPerOperation)
        throw SpreadsheetError("Sheet \"" + sheet.name + "\": range " + RectName(rect) +
                               " is too large for this operation");
}

void Workbook::Link(const CellKey& key, const Formula& formula) {
    for (const Token& t : formula.tokens) {
        if (t.kind != TokenKind::Reference) continue;
        SheetData& sheet = t.sheet ? *t.sheet : *key.sheet;
        CellRect r = RectOf(t);
        if (AreaOf(r) > kLargeArea) {
            sheet.areaListeners.push_back(SheetData::AreaListener{r, key});
            continue;
        }
        for (int row = r.firstRow; row <= r.lastRow; ++row)
            for (int column = r.firstColumn; column <= r.lastColumn; ++column)
                sheet.At(row, column).dependents.push_back(key);
    }
}

void Workbook::Unlink(const CellKey& key, const Formula& formula) {
    for (const Token& t : formula.tokens) {
        if (t.kind != TokenKind::Reference) continue;
        SheetData& sheet = t.sheet ? *t.sheet : *key.sheet;
        CellRect r = RectOf(t);
        if (AreaOf(r) > kLargeArea) {
            auto& listeners = sheet.areaListeners;
            auto it = std::find_if(listeners.rbegin(), listeners.rend(), [&](const auto& l) {
                return l.formula == key && l.area == r;
            });
            if (it != listeners.rend()) {
                *it = listeners.back();
                listeners.pop_back();
            }
            continue;
        }
        for (int row = r.firstRow; row <= r.lastRow; ++row) {
            for (int column = r.firstColumn; column <= r.lastColumn; ++column) {
                Cell* cell = sheet.Find(row, column);
                if (!cell) continue;
                auto& deps = cell->dependents;
                auto it = std::find(deps.rbegin(), deps.rend(), key);
                if (it != deps.rend()) {
                    *it = deps.back();
                    deps.pop_back();
                }
            }
        }
    }
}

// Marks every formula that reads `key`, directly or through others, as not
// computed. A cell already marked has its dependents marked too.
void Workbook::Invalidate(const CellKey& key) {
    if (deferInvalidation) return;
    std::vector<CellKey> pending;
    auto readers = [&pending](const CellKey& k) {
        if (Cell* cell = k.sheet->Find(k.row, k.column))
            pending.insert(pending.end(), cell->dependents.begin(), cell->dependents.end());
        for (const auto& listener : k.sheet->areaListeners) {
            const CellRect& a = listener.area;
            if (k.row >= a.firstRow && k.row <= a.lastRow && k.column >= a.firstColumn &&
                k.column <= a.lastColumn)
                pending.push_back(listener.formula);
        }
    };
    readers(key);
    while (!pending.empty()) {
        CellKey k = pending.back();
        pending.pop_back();
        Cell* cell = k.sheet->Find(k.row, k.column);
        if (!cell || !cell->formula || cell->state == CellState::Dirty) continue;
        cell->state = CellState::Dirty;
        readers(k);
    }
}

void Workbook::DropFormula(SheetData& sheet, int row, int column) {
    Cell* cell = sheet.Find(row, column);
    if (!cell || !cell->formula) return;
    std::unique_ptr<Formula> formula = std::move(cell->formula);
    cell->state = CellState::Clean;
    Unlink(CellKey{&sheet, row, column}, *formula);
}

// ---------------------------------------------------------------------------
// Contents

void Workbook::PutValue(SheetData& sheet, int row, int column, CellValue value) {
    sheet.At(row, column);
    DropFormula(sheet, row, column);
    Cell& cell = *sheet.Find(row, column);
    cell.value = std::move(value);
    cell.state = CellState::Clean;
    Invalidate(CellKey{&sheet, row, column});
}

Formula Workbook::Compile(std::string_view text) const {
    return CompileFormula(text, [this](std::string_view name) { return FindSheet(name); });
}

std::string Workbook::FormulaText(const Formula& formula) const {
    return RenderFormula(formula, [](const SheetData* sheet) { return sheet->name; });
}

void Workbook::PutCompiled(SheetData& sheet, int row, int column, Formula formula) {
    sheet.At(row, column);
    DropFormula(sheet, row, column);
    CellKey key{&sheet, row, column};
    Link(key, formula);  // may create cells: find ours again afterwards
    Cell& cell = *sheet.Find(row, column);
    cell.formula = std::make_unique<Formula>(std::move(formula));
    cell.value = Empty{};
    cell.state = CellState::Dirty;
    Invalidate(key);
}

void Workbook::PutOpaqueFormula(SheetData& sheet, int row, int column, std::string text,
                                CellValue result) {
    Formula formula;
    formula.opaque = true;
    formula.opaqueText = std::move(text);
    PutCompiled(sheet, row, column, std::move(formula));
    Cell& cell = *sheet.Find(row, column);
    cell.value = std::move(result);
    cell.state = CellState::Clean;
}

void Workbook::ClearContents(SheetData& sheet, const CellRect& rect) {
    for (int row = rect.firstRow; row <= std::min(rect.lastRow, sheet.LastRow()); ++row) {
        for (int column = rect.firstColumn; column <= rect.lastColumn; ++column) {
            Cell* cell = sheet.Find(row, column);
            if (!cell) break;  // the rest of the row does not exist
            if (cell->formula || !std::holds_alternative<Empty>(cell->value))
                PutValue(sheet, row, column, Empty{});
        }
    }
}

void Workbook::Copy(SheetData& from, const CellRect& source, SheetData& to, int row, int column) {
    int rows = source.lastRow - source.firstRow + 1;
    int columns = source.lastColumn - source.firstColumn + 1;
    int dr = row - source.firstRow;
    int dc = column - source.firstColumn;
    CheckOperationSize(from, source);
    if (row + rows - 1 > kMaxRows || column + columns - 1 > kMaxColumns)
        throw SpreadsheetError("Sheet \"" + to.name + "\": a copy of " + RectName(source) +
                               " to " + CellName(row, column) + " would leave the sheet");
    // Take everything first: source and destination may overlap.
    struct Item {
        CellValue value;
        std::unique_ptr<Formula> formula;
        std::uint32_t style = 0;
    };
    std::vector<Item> items(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            Item& item = items[static_cast<std::size_t>(r * columns + c)];
            const Cell* cell = from.Find(source.firstRow + r, source.firstColumn + c);
            if (!cell) continue;
            item.style = cell->style;
            if (cell->formula)
                item.formula = std::make_unique<Formula>(ShiftFormula(*cell->formula, dr, dc));
            else
                item.value = cell->value;
        }
    }
    std::vector<CellRect> merges;
    for (std::size_t i : from.merges.overlapping(source))
        if (const CellRect& m = from.merges[i]; m.firstRow >= source.firstRow && m.lastRow <= source.lastRow &&
            m.firstColumn >= source.firstColumn && m.lastColumn <= source.lastColumn)
            merges.push_back(CellRect{m.firstRow + dr, m.firstColumn + dc, m.lastRow + dr,
                                      m.lastColumn + dc});
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            Item& item = items[static_cast<std::size_t>(r * columns + c)];
            int tr = row + r;
            int tc = column + c;
            if (!item.formula && std::holds_alternative<Empty>(item.value) && item.style == 0 &&
                !to.Find(tr, tc))
                continue;
            if (item.formula)
                PutCompiled(to, tr, tc, std::move(*item.formula));
            else
                PutValue(to, tr, tc, std::move(item.value));
            to.Find(tr, tc)->style = item.style;
        }
    }
    // Merges of the destination area give way to those copied.
    CellRect target{row, column, row + rows - 1, column + columns - 1};
    to.merges.eraseOverlapping(target);
    for (const CellRect& m : merges) to.merges.push_back(m);
}

void Workbook::Merge(SheetData& sheet, CellRect rect) {
    if (rect.firstRow == rect.lastRow && rect.firstColumn == rect.lastColumn) return;
    // Grow over the merged areas it touches until none is cut; they give way to it.
    for (CellRect before{}; before != rect;) {
        before = rect;
        for (std::size_t i : sheet.merges.overlapping(rect)) {
            const CellRect& m = sheet.merges[i];
            rect = CellRect{std::min(rect.firstRow, m.firstRow),
                            std::min(rect.firstColumn, m.firstColumn),
                            std::max(rect.lastRow, m.lastRow), std::max(rect.lastColumn, m.lastColumn)};
        }
    }
    sheet.merges.eraseOverlapping(rect);
    // Only the top-left value stays.
    for (int row = rect.firstRow; row <= std::min(rect.lastRow, sheet.LastRow()); ++row)
        for (int column = rect.firstColumn; column <= rect.lastColumn; ++column) {
            if (row == rect.firstRow && column == rect.firstColumn) continue;
            Cell* cell = sheet.Find(row, column);
            if (!cell) break;  // the rest of the row does not exist
            if (cell->formula || !std::holds_alternative<Empty>(cell->value))
                PutValue(sheet, row, column, Empty{});
        }
    sheet.merges.push_back(rect);
    sheet.isDefaultSheet = false;
}

// ---------------------------------------------------------------------------
// Evaluation

CellValue Workbook::Value(SheetData& sheet, int row, int column) {
    Cell* cell = sheet.Find(row, column);
    if (!cell) return Empty{};
    if (cell->formula && cell->state != CellState::Clean) {
        Evaluate(CellKey{&sheet, row, column});
        cell = sheet.Find(row, column);
    }
    return cell->value;
}

void Workbook::EvaluateAll() {
    for (auto& sheet : sheets) {
        for (int row = 1; row <= sheet->LastRow(); ++row) {
            auto& cells = sheet->rows[static_cast<std::size_t>(row - 1)];
            for (std::size_t c = 0; c < cells.size(); ++c)
                if (cells[c].formula && cells[c].state != CellState::Clean)
                    Evaluate(CellKey{sheet.get(), row, static_cast<int>(c + 1)});
        }
    }
}

// Computes `start` after everything it reads. Each frame remembers how far it
// has looked through its references, so a cell is scanned once however many
// precedents have to be computed first.
void Workbook::Evaluate(const CellKey& start) {
    struct Frame {
        CellKey key;
        std::size_t token = 0;
        bool started = false;
        int row = 0;
        int column = 0;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{start});
    start.sheet->Find(start.row, start.column)->state = CellState::Evaluating;

    while (!stack.empty()) {
        Frame& frame = stack.back();
        Cell& cell = *frame.key.sheet->Find(frame.key.row, frame.key.column);
        const Formula& formula = *cell.formula;
        CellKey next;
        bool found = false;
        bool circular = false;
        if (!formula.opaque) {
            for (; frame.token < formula.tokens.size() && !found && !circular; ++frame.token) {
                const Token& t = formula.tokens[frame.token];
                if (t.kind != TokenKind::Reference) continue;
                SheetData& sheet = t.sheet ? *t.sheet : *frame.key.sheet;
                CellRect r = RectOf(t);
                if (!frame.started) {
                    frame.started = true;
                    frame.row = r.firstRow;
                    frame.column = r.firstColumn;
                }
                int lastRow = std::min(r.lastRow, sheet.LastRow());
                for (; frame.row <= lastRow; ++frame.row, frame.column = r.firstColumn) {
                    auto& cells = sheet.rows[static_cast<std::size_t>(frame.row - 1)];
                    int lastColumn = std::min(r.lastColumn, static_cast<int>(cells.size()));
                    for (; frame.column <= lastColumn; ++frame.column) {
                        Cell& p = cells[static_cast<std::size_t>(frame.column - 1)];
                        if (!p.formula || p.state == CellState::Clean) continue;
                        next = CellKey{&sheet, frame.row, frame.column};
                        if (p.state == CellState::Evaluating) circular = true;
                        found = true;
                        break;
                    }
                    if (found) break;
                }
                if (found) break;  // come back to this token
                frame.started = false;
            }
        }
        if (circular) {
            // Every cell from `next` up the stack is part of the loop.
            std::size_t first = stack.size();
            while (first > 0 && !(stack[first - 1].key == next)) --first;
            if (first > 0) --first;
            for (std::size_t i = first; i < stack.size(); ++i) {
                Cell& c = *stack[i].key.sheet->Find(stack[i].key.row, stack[i].key.column);
                c.value = CellError::Circular;
                c.state = CellState::Clean;
            }
            stack.resize(first);
            continue;
        }
        if (found) {
            next.sheet->Find(next.row, next.column)->state = CellState::Evaluating;
            stack.push_back(Frame{next});
            continue;
        }
        SheetData& sheet = *frame.key.sheet;
        CellKey key = frame.key;
        if (!formula.opaque) {
            CellValue value = Run(formula, sheet);
            Cell& done = *sheet.Find(key.row, key.column);
            done.value = std::move(value);
        }
        sheet.Find(key.row, key.column)->state = CellState::Clean;
        stack.pop_back();
    }
}

namespace {

NumberOrError Numeric(const CellValue& v) { return ToNumber(v); }

// Orders two values as a spreadsheet compares them: numbers before texts
// before truth values; texts without regard to case; empty as 0, "" or FALSE.
int CompareValues(const CellValue& a0, const CellValue& b0) {
    auto normalise = [](const CellValue& v, const CellValue& other) -> CellValue {
        if (!std::holds_alternative<Empty>(v)) return v;
        if (std::holds_alternative<std::string>(other)) return std::string();
        if (std::holds_alternative<bool>(other)) return false;
        return 0.0;
    };
    CellValue a = normalise(a0, b0);
    CellValue b = normalise(b0, a0);
    auto rank = [](const CellValue& v) {
        return std::holds_alternative<double>(v) ? 0 : std::holds_alternative<std::string>(v) ? 1 : 2;
    };
    if (rank(a) != rank(b)) return rank(a) < rank(b) ? -1 : 1;
    if (auto* x = std::get_if<double>(&a)) {
        double y = std::get<double>(b);
        return *x < y ? -1 : *x > y ? 1 : 0;
    }
    if (auto* x = std::get_if<std::string>(&a)) {
        const std::string& y = std::get<std::string>(b);
        std::size_t n = std::min(x->size(), y.size());
        for (std::size_t i = 0; i < n; ++i) {
            int cx = std::toupper(static_cast<unsigned char>((*x)[i]));
            int cy = std::toupper(static_cast<unsigned char>(y[i]));
            if (cx != cy) return cx < cy ? -1 : 1;
        }
        return x->size() < y.size() ? -1 : x->size() > y.size() ? 1 : 0;
    }
    bool x = std::get<bool>(a);
    bool y = std::get<bool>(b);
    return x == y ? 0 : (!x ? -1 : 1);
}

}  // namespace

CellValue Workbook::Run(const Formula& formula, SheetData& home) {
    AreaVisitor areaValues = [](const Operand& area,
                                const std::function<void(const CellValue&)>& visit) {
        SheetData& sheet = *area.sheet;
        int lastRow = std::min(area.rect.lastRow, sheet.LastRow());
        for (int row = area.rect.firstRow; row <= lastRow; ++row) {
            auto& cells = sheet.rows[static_cast<std::size_t>(row - 1)];
            int lastColumn = std::min(area.rect.lastColumn, static_cast<int>(cells.size()));
            for (int column = area.rect.firstColumn; column <= lastColumn; ++column)
                visit(cells[static_cast<std::size_t>(column - 1)].value);
        }
    };
    std::vector<Operand> stack;
    stack.reserve(8);
    auto pop = [&stack]() {
        Operand top = std::move(stack.back());
        stack.pop_back();
        return top;
    };
    for (const Op& op : formula.code) {
        switch (op.code) {
            case OpCode::Push: {
                const Token& t = formula.tokens[op.index];
                Operand operand;
                switch (t.kind) {
                    case TokenKind::Number: operand.value = t.number; break;
                    case TokenKind::Text: operand.value = t.text; break;
                    case TokenKind::Bool: operand.value = t.number != 0; break;
                    case TokenKind::Error: operand.value = t.error; break;
                    case TokenKind::Reference:
                        operand.isArea = true;
                        operand.sheet = t.sheet ? t.sheet : &home;
                        operand.rect = RectOf(t);
                        break;
                    default: operand.value = CellError::Name; break;
                }
                stack.push_back(std::move(operand));
                break;
            }
            case OpCode::Missing: stack.push_back(Operand{}); break;
            case OpCode::Negate:
            case OpCode::Percent: {
                NumberOrError n = Numeric(ScalarOf(pop(), areaValues));
                Operand result;
                if (n.error) result.value = *n.error;
                else result.value = op.code == OpCode::Negate ? -n.number : n.number / 100.0;
                stack.push_back(std::move(result));
                break;
            }
            case OpCode::Call: {
                std::size_t first = stack.size() - op.argc;
                CellValue value = CallFunction(
                    op.index, std::span<const Operand>(stack.data() + first, op.argc), areaValues);
                stack.resize(first);
                Operand result;
                result.value = std::move(value);
                stack.push_back(std::move(result));
                break;
            }
            default: {
                CellValue b = ScalarOf(pop(), areaValues);
                CellValue a = ScalarOf(pop(), areaValues);
                Operand result;
                if (auto* e = std::get_if<CellError>(&a)) {
                    result.value = *e;
                } else if (auto* e2 = std::get_if<CellError>(&b)) {
                    result.value = *e2;
                } else if (op.code == OpCode::Concat) {
                    // A text longer than a cell holds is #VALUE!, as in
                    // spreadsheet programs; it also keeps a chain of cells
                    // that each double the text before from growing
                    // without bound.
                    std::string text = ValueToText(a) + ValueToText(b);
                    if (text.size() > kMaxTextLength && TextLength(text) > kMaxTextLength)
                        result.value = CellError::Value;
                    else
                        result.value = std::move(text);
                } else if (op.code >= OpCode::Equal) {
                    int order = CompareValues(a, b);
                    bool truth = false;
                    switch (op.code) {
                        case OpCode::Equal: truth = order == 0; break;
                        case OpCode::NotEqual: truth = order != 0; break;
                        case OpCode::Less: truth = order < 0; break;
                        case OpCode::LessEqual: truth = order <= 0; break;
                        case OpCode::Greater: truth = order > 0; break;
                        default: truth = order >= 0; break;
                    }
                    result.value = truth;
                } else {
                    NumberOrError x = Numeric(a);
                    NumberOrError y = Numeric(b);
                    if (x.error) {
                        result.value = *x.error;
                    } else if (y.error) {
                        result.value = *y.error;
                    } else {
                        double v = 0;
                        switch (op.code) {
                            case OpCode::Add: v = x.number + y.number; break;
                            case OpCode::Subtract: v = x.number - y.number; break;
                            case OpCode::Multiply: v = x.number * y.number; break;
                            case OpCode::Divide:
                                if (y.number == 0) {
                                    result.value = CellError::Div0;
                                    stack.push_back(std::move(result));
                                    continue;
                                }
                                v = x.number / y.number;
                                break;
                            default: v = std::pow(x.number, y.number); break;
                        }
                        if (std::isfinite(v)) result.value = v;
                        else result.value = CellError::Num;
                    }
                }
                stack.push_back(std::move(result));
                break;
            }
        }
    }
    if (stack.size() != 1) return CellError::Value;
    CellValue value = ScalarOf(stack.back(), areaValues);
    if (std::holds_alternative<Empty>(value)) return 0.0;
    return value;
}

// ---------------------------------------------------------------------------
// Styles

void Workbook::ModifyStyle(SheetData& sheet, const CellRect& rect,
                           const std::function<void(Style&)>& change) {
    CheckOperationSize(sheet, rect);
    std::unordered_map<std::uint32_t, std::uint32_t> done;
    for (int row = rect.firstRow; row <= rect.lastRow; ++row) {
        for (int column = rect.firstColumn; column <= rect.lastColumn; ++column) {
            Cell& cell = sheet.At(row, column);
            auto it = done.find(cell.style);
            if (it == done.end()) {
                Style style = styles.Get(cell.style);
                change(style);
                it = done.emplace(cell.style, styles.Intern(style)).first;
            }
            cell.style = it->second;
        }
    }
}

void Workbook::SetBorder(SheetData& sheet, const CellRect& rect, BorderEdge edge,
                         BorderWeight weight) {
    auto setSide = [&](const CellRect& r, Side side) {
        ModifyStyle(sheet, r, [&](Style& s) { s.border[side] = weight; });
    };
    // The neighbour outside the range shares the edge: if it draws its side
    // of it, that side takes the new weight too, so the two never disagree.
    auto neighbour = [&](const CellRect& r, Side side) {
        for (int row = r.firstRow; row <= r.lastRow; ++row)
            for (int column = r.firstColumn; column <= r.lastColumn; ++column) {
                if (row < 1 || column < 1 || row > kMaxRows || column > kMaxColumns) continue;
                Cell* cell = sheet.Find(row, column);
                if (!cell || styles.Get(cell->style).border[side] == BorderWeight::None) continue;
                Style style = styles.Get(cell->style);
                style.border[side] = weight;
                cell->style = styles.Intern(style);
            }
    };
    const CellRect& r = rect;
    switch (edge) {
        case BorderEdge::Left:
            setSide({r.firstRow, r.firstColumn, r.lastRow, r.firstColumn}, kLeft);
            neighbour({r.firstRow, r.firstColumn - 1, r.lastRow, r.firstColumn - 1}, kRight);
            break;
        case BorderEdge::Right:
            setSide({r.firstRow, r.lastColumn, r.lastRow, r.lastColumn}, kRight);
            neighbour({r.firstRow, r.lastColumn + 1, r.lastRow, r.lastColumn + 1}, kLeft);
            break;
        case BorderEdge::Top:
            setSide({r.firstRow, r.firstColumn, r.firstRow, r.lastColumn}, kTop);
            neighbour({r.firstRow - 1, r.firstColumn, r.firstRow - 1, r.lastColumn}, kBottom);
            break;
        case BorderEdge::Bottom:
            setSide({r.lastRow, r.firstColumn, r.lastRow, r.lastColumn}, kBottom);
            neighbour({r.lastRow + 1, r.firstColumn, r.lastRow + 1, r.lastColumn}, kTop);
            break;
        case BorderEdge::InsideHorizontal:
            if (r.lastRow > r.firstRow) {
                setSide({r.firstRow, r.firstColumn, r.lastRow - 1, r.lastColumn}, kBottom);
                setSide({r.firstRow + 1, r.firstColumn, r.lastRow, r.lastColumn}, kTop);
            }
            break;
        case BorderEdge::InsideVertical:
            if (r.lastColumn > r.firstColumn) {
                setSide({r.firstRow, r.firstColumn, r.lastRow, r.lastColumn - 1}, kRight);
                setSide({r.firstRow, r.firstColumn + 1, r.lastRow, r.lastColumn}, kLeft);
            }
            break;
    }
}

}  // namespace tarvosen::spreadsheet
