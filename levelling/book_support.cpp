#include "levelling/book_support.h"

#include <cstdio>

namespace tarvosen::levelling {

namespace {

constexpr std::size_t kNamedLines = 8;

bool Forbidden(char c) {
    return c == ':' || c == '\\' || c == '/' || c == '?' || c == '*' || c == '[' || c == ']';
}

}  // namespace

std::string LevellingSheetName(std::string_view lineNumber) {
    return "水准线" + std::string(lineNumber);
}

ss::Sheet AddNamedSheet(ss::SpreadsheetSession& session, std::string name) {
    for (char& c : name)
        if (Forbidden(c)) c = '_';
    std::string unique = name;
    for (int copy = 2; session.FindSheet(unique); ++copy)
        unique = name + " (" + std::to_string(copy) + ")";
    ss::Sheet sheet = session.AddSheet();
    sheet.SetName(unique);
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

void LeftOutLines::add(std::size_t lineNumber) {
    if (named_.size() < kNamedLines) named_.push_back(lineNumber);
    ++count_;
}

std::string LeftOutLines::describe() const {
    std::string text = std::string("observation line") + (count_ > 1 ? "s " : " ");
    for (std::size_t i = 0; i < named_.size(); ++i) {
        if (i > 0) text += (i + 1 == named_.size() && count_ == named_.size()) ? " and " : ", ";
        text += std::to_string(named_[i]);
    }
    if (count_ > named_.size()) text += " and " + std::to_string(count_ - named_.size()) + " more";
    return text;
}

void LeftOutLines::report(UserInterface& user, const std::string& sheetName,
                          std::string_view reason) {
    if (count_ == 0) return;
    std::string text = sheetName + ": left out " + describe() + " (";
    text += reason;
    text += ").";
    user.warning(text);
    named_.clear();
    count_ = 0;
}

}  // namespace tarvosen::levelling
