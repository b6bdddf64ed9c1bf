// A1-style cell addresses.

#include <algorithm>
#include <cctype>
#include <optional>

#include "app/trim.h"
#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::spreadsheet {

namespace {

// "$B$7" or "b7" at the start of `text`: row and column, or nothing.
std::optional<std::pair<int, int>> ParseCell(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '$') ++i;
    long column = 0;
    std::size_t letters = 0;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
        column = column * 26 + (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
        if (++letters > 3) return std::nullopt;
        ++i;
    }
    if (letters == 0) return std::nullopt;
    if (i < text.size() && text[i] == '$') ++i;
    long row = 0;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        row = row * 10 + (text[i] - '0');
        if (++digits > 7) return std::nullopt;
        ++i;
    }
    if (digits == 0 || i != text.size()) return std::nullopt;
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) return std::nullopt;
    return std::pair<int, int>{static_cast<int>(row), static_cast<int>(column)};
}

}  // namespace

std::string ColumnName(int column) {
    std::string name;
    for (int c = column; c > 0; c = (c - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
    return name;
}

std::string CellName(int row, int column) { return ColumnName(column) + std::to_string(row); }

std::string RectName(const CellRect& rect) {
    std::string first = CellName(rect.firstRow, rect.firstColumn);
    if (rect.firstRow == rect.lastRow && rect.firstColumn == rect.lastColumn) return first;
    return first + ":" + CellName(rect.lastRow, rect.lastColumn);
}

CellRect ParseRect(std::string_view address) {
    std::string_view text = Trim(address, Blanks::Spaces);
    std::size_t colon = text.find(':');
    auto first = ParseCell(Trim(text.substr(0, colon), Blanks::Spaces));
    auto last = colon == std::string_view::npos ? first : ParseCell(Trim(text.substr(colon + 1), Blanks::Spaces));
    if (!first || !last)
        throw SpreadsheetError("\"" + std::string(address) + "\" is not a cell address");
    CellRect rect{std::min(first->first, last->first), std::min(first->second, last->second),
                  std::max(first->first, last->first), std::max(first->second, last->second)};
    return rect;
}

}  // namespace tarvosen::spreadsheet
