// Reading .xlsx templates: the zip container with minizip, its XML parts
// with pugixml.

#include <unzip.h>

#include <array>
#include <charconv>
#include <cstring>
#include <map>
#include <optional>
#include <pugixml.hpp>

#include "spreadsheet/functions.h"
#include "spreadsheet/values.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/xlsx.h"

namespace tarvosen::spreadsheet {

namespace {

// No part of a template is anywhere near this; a larger one is refused
// rather than unpacked into memory.
constexpr std::uint64_t kMaxPartBytes = 256u << 20;

class Zip {
public:
    explicit Zip(const std::filesystem::path& path) : path_(path) {
        zip_ = unzOpen64(path.string().c_str());
        if (!zip_) Fail("not an .xlsx workbook (no complete zip archive)");
    }
    ~Zip() {
        if (zip_) unzClose(zip_);
    }
    Zip(const Zip&) = delete;
    Zip& operator=(const Zip&) = delete;

    std::optional<std::string> Read(const std::string& name) {
        if (unzLocateFile(zip_, name.c_str(), 2) != UNZ_OK) return std::nullopt;
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            Fail(name + " cannot be read");
        if (info.uncompressed_size > kMaxPartBytes) Fail(name + " is too large");
        if (unzOpenCurrentFile(zip_) != UNZ_OK) Fail(name + " cannot be read");
        std::string data;
        data.reserve(static_cast<std::size_t>(info.uncompressed_size));
        char buffer[65536];
        while (true) {
            int n = unzReadCurrentFile(zip_, buffer, sizeof buffer);
            if (n < 0) {
                unzCloseCurrentFile(zip_);
                Fail(name + " is damaged");
            }
            if (n == 0) break;
            data.append(buffer, static_cast<std::size_t>(n));
            if (data.size() > kMaxPartBytes) {
                unzCloseCurrentFile(zip_);
                Fail(name + " is too large");
            }
        }
        if (unzCloseCurrentFile(zip_) != UNZ_OK) Fail(name + " is damaged (CRC error)");
        return data;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw SpreadsheetError("Cannot open the workbook " + path_.string() + ": " + what);
    }

private:
    std::filesystem::path path_;
    unzFile zip_ = nullptr;
};

bool IsTrue(const pugi::xml_attribute& a, bool absent) {
    if (!a) return absent;
    std::string_view v = a.value();
    return v == "1" || v == "true";
}

// Colours: ARGB "FFFF0000", or the legacy palette index.
std::optional<std::uint32_t> ColourOf(const pugi::xml_node& node) {
    if (!node) return std::nullopt;
    if (auto rgb = node.attribute("rgb")) {
        std::string_view text = rgb.value();
        if (text.size() == 8) text.remove_prefix(2);
        std::uint32_t value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
        if (ec == std::errc()) return value & 0xFFFFFFu;
    }
    if (auto indexed = node.attribute("indexed")) {
        static constexpr std::array<std::uint32_t, 8> kPalette{
            0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};
        unsigned index = indexed.as_uint();
        if (index < 16) return kPalette[index % 8];
    }
    return std::nullopt;
}

BorderWeight WeightOf(std::string_view style) {
    if (style.empty() || style == "none") return BorderWeight::None;
    if (style == "medium" || style == "mediumDashed" || style == "mediumDashDot" ||
        style == "mediumDashDotDot" || style == "slantDashDot")
        return BorderWeight::Medium;
    if (style == "thick" || style == "double") return BorderWeight::Thick;
    return BorderWeight::Thin;
}

std::string BuiltinFormat(unsigned id) {
    static const std::map<unsigned, std::string> kFormats{
        {0, "General"},   {1, "0"},           {2, "0.00"},         {3, "#,##0"},
        {4, "#,##0.00"},  {9, "0%"},          {10, "0.00%"},       {11, "0.00E+00"},
        {12, "# ?/?"},    {13, "# ?\?/??"},   {14, "yyyy/m/d"},    {15, "d-mmm-yy"},
        {16, "d-mmm"},    {17, "mmm-yy"},     {18, "h:mm AM/PM"},  {19, "h:mm:ss AM/PM"},
        {20, "h:mm"},     {21, "h:mm:ss"},    {22, "yyyy/m/d h:mm"}, {37, "#,##0 ;(#,##0)"},
        {38, "#,##0 ;[Red](#,##0)"}, {39, "#,##0.00;(#,##0.00)"}, {40, "#,##0.00;[Red](#,##0.00)"},
        {45, "mm:ss"},    {46, "[h]:mm:ss"},  {47, "mmss.0"},      {48, "##0.0E+0"},
        {49, "@"},
    };
    auto it = kFormats.find(id);
    return it == kFormats.end() ? "General" : it->second;
}

// "B7" -> (7, 2); false when it is not a cell address.
bool CellOf(std::string_view text, int& row, int& column) {
    try {
        CellRect r = ParseRect(text);
        row = r.firstRow;
        column = r.firstColumn;
        return r.firstRow == r.lastRow && r.firstColumn == r.lastColumn;
    } catch (const SpreadsheetError&) {
        return false;
    }
}

class Reader {
public:
    explicit Reader(const std::filesystem::path& path) : zip_(path), book_(std::make_unique<Workbook>()) {}

    std::unique_ptr<Workbook> Run() {
        pugi::xml_document workbook;
        Parse(workbook, "xl/workbook.xml", true);
        std::map<std::string, std::string> targets = Relationships();
        ReadStyles();
        ReadSharedStrings();

        struct Part {
            SheetData* sheet;
            std::string path;
        };
        std::vector<Part> parts;
        pugi::xml_node root = workbook.child("workbook");
        for (pugi::xml_node s : root.child("sheets").children("sheet")) {
            std::string name = ToUtf8(s.attribute("name").value());
            std::string id = s.attribute("r:id").value();
            auto target = targets.find(id);
            if (target == targets.end()) continue;  // a chart sheet or a broken link
            if (target->second.find("worksheets/") == std::string::npos) continue;
            if (book_->FindSheet(name) || name.empty())
                zip_.Fail("two sheets are named \"" + name + "\"");
            SheetData& sheet = book_->AddSheet(name);
            parts.push_back(Part{&sheet, target->second});
        }
        if (parts.empty()) zip_.Fail("it holds no worksheet");
        unsigned activeTab = root.child("bookViews").child("workbookView").attribute("activeTab").as_uint();
        book_->active = activeTab < parts.size() ? static_cast<int>(activeTab) : 0;

        for (Part& part : parts) ReadSheet(*part.sheet, part.path);

        for (pugi::xml_node n : root.child("definedNames").children("definedName")) {
            if (std::string_view(n.attribute("name").value()) != "_xlnm.Print_Titles") continue;
            auto local = n.attribute("localSheetId");
            if (!local || local.as_uint() >= parts.size()) continue;
            PrintTitles(*parts[local.as_uint()].sheet, n.text().get());
        }
        return std::move(book_);
    }

private:
    void Parse(pugi::xml_document& doc, const std::string& part, bool required) {
        std::optional<std::string> data = zip_.Read(part);
        if (!data) {
            if (required) zip_.Fail(part + " is missing");
            return;
        }
        pugi::xml_parse_result result = doc.load_buffer(data->data(), data->size());
        if (!result)
            zip_.Fail(part + ": " + result.description() + " at byte " +
                      std::to_string(result.offset));
    }

    std::map<std::string, std::string> Relationships() {
        pugi::xml_document doc;
        Parse(doc, "xl/_rels/workbook.xml.rels", true);
        std::map<std::string, std::string> targets;
        for (pugi::xml_node r : doc.child("Relationships").children("Relationship")) {
            std::string target = r.attribute("Target").value();
            if (!target.empty() && target.front() == '/') target.erase(0, 1);
            else target = "xl/" + target;
            targets[r.attribute("Id").value()] = target;
        }
        return targets;
    }

    void ReadSharedStrings() {
        pugi::xml_document doc;
        Parse(doc, "xl/sharedStrings.xml", false);
        for (pugi::xml_node si : doc.child("sst").children("si")) {
            std::string text = si.child("t").text().get();
            for (pugi::xml_node run : si.children("r")) text += run.child("t").text().get();
            strings_.push_back(ToUtf8(text));
        }
    }

    void ReadStyles() {
        pugi::xml_document doc;
        Parse(doc, "xl/styles.xml", false);
        pugi::xml_node root = doc.child("styleSheet");
        std::map<unsigned, std::string> numberFormats;
        for (pugi::xml_node f : root.child("numFmts").children("numFmt"))
            numberFormats[f.attribute("numFmtId").as_uint()] = f.attribute("formatCode").value();
        std::vector<pugi::xml_node> fonts, fills, borders;
        for (pugi::xml_node f : root.child("fonts").children("font")) fonts.push_back(f);
        for (pugi::xml_node f : root.child("fills").children("fill")) fills.push_back(f);
        for (pugi::xml_node b : root.child("borders").children("border")) borders.push_back(b);

        bool first = true;
        for (pugi::xml_node xf : root.child("cellXfs").children("xf")) {
            Style style;
            unsigned fontId = xf.attribute("fontId").as_uint();
            if (fontId < fonts.size()) {
                pugi::xml_node font = fonts[fontId];
                if (auto name = font.child("name").attribute("val")) style.fontName = ToUtf8(name.value());
                if (auto size = font.child("sz").attribute("val")) style.fontSize = size.as_double(11);
                if (auto rgb = ColourOf(font.child("color"))) style.fontRgb = *rgb;
                if (pugi::xml_node u = font.child("u")) {
                    std::string_view v = u.attribute("val").value();
                    style.underline = v == "double" || v == "doubleAccounting" ? Underline::Double
                                      : v == "none"                            ? Underline::None
                                                                               : Underline::Single;
                }
                style.bold = font.child("b") && IsTrue(font.child("b").attribute("val"), true);
                style.italic = font.child("i") && IsTrue(font.child("i").attribute("val"), true);
            }
            unsigned fillId = xf.attribute("fillId").as_uint();
            if (fillId < fills.size()) {
                pugi::xml_node pattern = fills[fillId].child("patternFill");
                if (std::string_view(pattern.attribute("patternType").value()) == "solid") {
                    style.filled = true;
                    style.fillRgb = ColourOf(pattern.child("fgColor")).value_or(0xFFFFFF);
                }
            }
            unsigned borderId = xf.attribute("borderId").as_uint();
            if (borderId < borders.size()) {
                pugi::xml_node b = borders[borderId];
                style.border[kLeft] = WeightOf(b.child("left").attribute("style").value());
                style.border[kTop] = WeightOf(b.child("top").attribute("style").value());
                style.border[kRight] = WeightOf(b.child("right").attribute("style").value());
                style.border[kBottom] = WeightOf(b.child("bottom").attribute("style").value());
            }
            unsigned numFmtId = xf.attribute("numFmtId").as_uint();
            auto custom = numberFormats.find(numFmtId);
            style.numberFormat = custom != numberFormats.end() ? custom->second : BuiltinFormat(numFmtId);
            if (pugi::xml_node a = xf.child("alignment")) {
                std::string_view h = a.attribute("horizontal").value();
                style.horizontal = h == "left"    ? HorizontalAlignment::Left
                                   : h == "center" || h == "centerContinuous" ? HorizontalAlignment::Center
                                   : h == "right" ? HorizontalAlignment::Right
                                                  : HorizontalAlignment::General;
                std::string_view v = a.attribute("vertical").value();
                style.vertical = v == "top"      ? VerticalAlignment::Top
                                 : v == "center" ? VerticalAlignment::Center
                                                 : VerticalAlignment::Bottom;
                style.wrap = IsTrue(a.attribute("wrapText"), false);
            }
            if (first) {
                book_->styles.SetDefault(style);
                first = false;
            }
            xfStyles_.push_back(book_->styles.Intern(style));
        }
    }

    std::uint32_t StyleIndex(const pugi::xml_node& c) const {
        unsigned s = c.attribute("s").as_uint();
        return s < xfStyles_.size() ? xfStyles_[s] : 0;
    }

    void ReadSheet(SheetData& sheet, const std::string& part) {
        pugi::xml_document doc;
        Parse(doc, part, true);
        pugi::xml_node root = doc.child("worksheet");
        for (pugi::xml_node view : root.child("sheetViews").children("sheetView"))
            if (!IsTrue(view.attribute("showGridLines"), true)) sheet.showGridlines = false;
        for (pugi::xml_node col : root.child("cols").children("col")) {
            if (!col.attribute("width") || !IsTrue(col.attribute("customWidth"), true)) continue;
            int min = std::max(1, col.attribute("min").as_int(1));
            int max = std::min(kMaxColumns, col.attribute("max").as_int(min));
            for (int c = min; c <= max && c - min < 1024; ++c)
                sheet.columnWidths[c] = col.attribute("width").as_double();
        }
        struct Shared {
            int row, column;
            std::optional<Formula> formula;
        };
        std::map<unsigned, Shared> shared;
        int row = 0;
        for (pugi::xml_node r : root.child("sheetData").children("row")) {
            row = r.attribute("r") ? r.attribute("r").as_int() : row + 1;
            if (row < 1 || row > kMaxRows) zip_.Fail(part + ": row " + std::to_string(row) + " is outside the sheet");
            if (r.attribute("ht") && IsTrue(r.attribute("customHeight"), false))
                sheet.rowHeights[row] = r.attribute("ht").as_double();
            int column = 0;
            for (pugi::xml_node c : r.children("c")) {
                int cellRow = row;
                if (auto ref = c.attribute("r")) {
                    if (!CellOf(ref.value(), cellRow, column))
                        zip_.Fail(part + ": \"" + std::string(ref.value()) + "\" is not a cell");
                } else {
                    ++column;
                }
                ReadCell(sheet, c, cellRow, column, shared);
            }
        }
        for (pugi::xml_node m : root.child("mergeCells").children("mergeCell")) {
            try {
                CellRect rect = ParseRect(m.attribute("ref").value());
                if (rect.firstRow != rect.lastRow || rect.firstColumn != rect.lastColumn)
                    sheet.merges.push_back(rect);
            } catch (const SpreadsheetError&) {
                zip_.Fail(part + ": merged area \"" + std::string(m.attribute("ref").value()) +
                          "\" is not a range");
            }
        }
    }

    template <typename SharedMap>
    void ReadCell(SheetData& sheet, const pugi::xml_node& c, int row, int column, SharedMap& shared) {
        sheet.At(row, column).style = StyleIndex(c);
        std::string_view type = c.attribute("t").value();
        std::string v = c.child("v").text().get();
        CellValue value;
        if (type == "s") {
            unsigned index = c.child("v").text().as_uint();
            if (c.child("v") && index < strings_.size()) value = strings_[index];
        } else if (type == "inlineStr") {
            pugi::xml_node is = c.child("is");
            std::string text = is.child("t").text().get();
            for (pugi::xml_node run : is.children("r")) text += run.child("t").text().get();
            value = ToUtf8(text);
        } else if (type == "str" || type == "d") {
            value = ToUtf8(v);
        } else if (type == "b") {
            value = v == "1" || v == "true";
        } else if (type == "e") {
            value = ToUtf8(v);
        } else if (!v.empty()) {
            auto number = ParseNumber(v);
            value = number ? CellValue(*number) : CellValue(ToUtf8(v));
        }
        pugi::xml_node f = c.child("f");
        if (!f) {
            if (!std::holds_alternative<Empty>(value)) book_->PutValue(sheet, row, column, value);
            return;
        }
        std::string text = ToUtf8(f.text().get());
        std::optional<Formula> formula;
        if (std::string_view(f.attribute("t").value()) == "shared" && f.attribute("si")) {
            unsigned si = f.attribute("si").as_uint();
            auto it = shared.find(si);
            if (!text.empty() || it == shared.end()) {
                auto compiled = TryCompile(text);
                shared[si] = {row, column, compiled};
                formula = compiled;
            } else if (it->second.formula) {
                formula = ShiftFormula(*it->second.formula, row - it->second.row,
                                       column - it->second.column);
            }
            if (!formula && text.empty()) {
                // A copy of a formula we cannot read: keep its stored result.
                if (!std::holds_alternative<Empty>(value)) book_->PutValue(sheet, row, column, value);
                return;
            }
        } else {
            formula = TryCompile(text);
        }
        if (formula) book_->PutCompiled(sheet, row, column, std::move(*formula));
        else book_->PutOpaqueFormula(sheet, row, column, text, value);
    }

    // A formula we can compute, or nothing: then it is kept as the file has
    // it, with the result stored there (functions we do not know, links to
    // other workbooks), rather than computed to #NAME?.
    std::optional<Formula> TryCompile(const std::string& text) {
        if (text.empty()) return std::nullopt;
        try {
            Formula formula = book_->Compile(text);
            for (const Op& op : formula.code)
                if (op.code == OpCode::Call && op.index == kUnknownFunction) return std::nullopt;
            for (const Token& token : formula.tokens)
                if (token.kind == TokenKind::Name) return std::nullopt;
            return formula;
        } catch (const SpreadsheetError&) {
            return std::nullopt;
        }
    }

    // "Sheet1!$1:$11" or "'水准线 1'!$A:$A,'水准线 1'!$1:$11": the row part.
    static void PrintTitles(SheetData& sheet, std::string_view text) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t comma = text.find(',', start);
            std::string_view part = text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
            std::size_t bang = part.rfind('!');
            std::string_view area = bang == std::string_view::npos ? part : part.substr(bang + 1);
            std::size_t colon = area.find(':');
            if (colon != std::string_view::npos) {
                auto rowOf = [](std::string_view t, int& out) {
                    while (!t.empty() && t.front() == '$') t.remove_prefix(1);
                    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
                    return ec == std::errc() && end == t.data() + t.size();
                };
                int first = 0;
                int last = 0;
                if (rowOf(area.substr(0, colon), first) && rowOf(area.substr(colon + 1), last) &&
                    first >= 1 && first <= last && last <= kMaxRows) {
                    sheet.printTitleFirstRow = first;
                    sheet.printTitleLastRow = last;
                }
            }
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
    }

    Zip zip_;
    std::unique_ptr<Workbook> book_;
    std::vector<std::string> strings_;
    std::vector<std::uint32_t> xfStyles_;
};

}  // namespace

std::unique_ptr<Workbook> ReadXlsx(const std::filesystem::path& path) {
    if (!std::filesystem::is_regular_file(path))
        throw SpreadsheetError("Cannot open the workbook " + path.string() + ": no such file");
    try {
        return Reader(path).Run();
    } catch (const SpreadsheetError& error) {
        std::string what = error.what();
        if (what.find(path.string()) != std::string::npos) throw;
        throw SpreadsheetError("Cannot open the workbook " + path.string() + ": " + what);
    }
}

}  // namespace tarvosen::spreadsheet
