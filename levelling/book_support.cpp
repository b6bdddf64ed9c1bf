#include "levelling/book_support.h"

#include <cmath>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace tarvosen::levelling {

std::string LevellingSheetName(std::string_view lineNumber) {
    return "水准线" + std::string(lineNumber);
}

const char* DistanceFormatAsRead(std::string_view text) {
    const auto point = text.find('.');
    if (point == std::string_view::npos) return "0.0";
    std::size_t decimals = 0;
    for (std::size_t i = point + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        ++decimals;
    return decimals <= 1 ? "0.0" : kDistanceMetres;
}

double RoundTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

ss::Sheet AddNamedSheet(ss::SpreadsheetSession& session, std::string name) {
    for (char& c : name)
        if (ss::kSheetNameForbidden.find(c) != std::string_view::npos) c = '_';
    // One pass over the sheets finds whether the name is taken and the
    // highest copy number in use, so a memory with hundreds of lines of the
    // same number does not look up every copy name of every line again.
    bool taken = false;
    int highestCopy = 1;
    const std::string copyStart = name + " (";
    for (int i = 0; i < session.SheetCount(); ++i) {
        const std::string existing = session.SheetAt(i).Name();
        if (ss::SameSheetName(existing, name)) taken = true;
        if (existing.size() > copyStart.size() + 1 && existing.back() == ')' &&
            ss::SameSheetName(std::string_view(existing).substr(0, copyStart.size()), copyStart)) {
            int copy = 0;
            const char* first = existing.data() + copyStart.size();
            const char* last = existing.data() + existing.size() - 1;
            const auto r = std::from_chars(first, last, copy);
            if (r.ec == std::errc() && r.ptr == last) highestCopy = std::max(highestCopy, copy);
        }
    }
    ss::Sheet sheet = session.AddSheet();
    sheet.SetFitToPageWidth();  // a book prints one page wide
    sheet.SetName(taken ? copyStart + std::to_string(highestCopy + 1) + ")" : name);
    return sheet;
}

std::string Formula(std::string_view pattern, std::initializer_list<int> rows) {
    std::string out;
    auto row = rows.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 'd' &&
            row != rows.end()) {
            out += std::to_string(*row++);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

void DrawTableBorders(const ss::CellRange& range) {
    range.SetBorders(ss::BorderWeight::Medium);
    range.SetBorder(ss::BorderEdge::InsideHorizontal, ss::BorderWeight::Thin);
    range.SetBorder(ss::BorderEdge::InsideVertical, ss::BorderWeight::Thin);
}

void CentreBothWays(const ss::CellRange& range) {
    range.SetHorizontalAlignment(ss::HorizontalAlignment::Center);
    range.SetVerticalAlignment(ss::VerticalAlignment::Center);
}

void LeftOutLines::report(UserInterface& user, const std::string& where,
                          std::string_view reason, const MessageTexts& texts) {
    if (lines_.empty()) return;
    const std::string lines = describe(texts);
    user.warning(count() > 1 ? texts(msg::kLeftOutLines, "%1: left out observation lines %2 (%3).",
                                     {where, lines, reason})
                             : texts(msg::kLeftOutLine, "%1: left out observation line %2 (%3).",
                                     {where, lines, reason}));
    lines_.clear();
}

std::string LeftOutLines::Where(const std::string& file, const std::string& sheetName,
                                const MessageTexts& texts) {
    return texts(msg::kFileAndSheet, "%1, sheet %2", {file, sheetName});
}

void LeftOutLines::ReportSetUpLeftOuts(UserInterface& user, const std::string& where,
                                       LeftOutLines& beforeFirstPoint,
                                       LeftOutLines& extraReadings, const MessageTexts& texts) {
    beforeFirstPoint.report(
        user, where,
        texts(msg::kBeforeFirstPointHeight, "before the line's first point height"), texts);
    extraReadings.report(
        user, where,
        texts(msg::kThirdReadingAtSetUp, "a third reading of one staff at a set-up"), texts);
}

void LeftOutIntermediateSights::report(UserInterface& user, const std::string& file,
                                       const MessageTexts& texts) {
    const std::size_t count = lines_.count();
    if (count == 0) return;
    const std::string lines = lines_.describe(texts);
    user.warning(count > 1
                     ? texts(msg::kIntermediateSightsLeftOut,
                             "%1: %2 intermediate sights (lines %3) have no place in this book "
                             "and were left out; the geological institute's book lists them.",
                             {file, std::to_string(count), lines})
                     : texts(msg::kIntermediateSightLeftOut,
                             "%1: The intermediate sight on line %2 has no place in this book "
                             "and was left out; the geological institute's book lists it.",
                             {file, lines}));
    lines_ = {};
}

}  // namespace tarvosen::levelling
