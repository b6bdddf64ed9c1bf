// Reading .xlsx templates: the zip container with minizip, its XML parts
// with pugixml.

#include <unzip.h>

#include <array>
#include <charconv>
#include <cstring>
#include <map>
#include <unordered_set>
#include <optional>
#include <pugixml.hpp>

#include "spreadsheet/functions.h"
#include "spreadsheet/values.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/xlsx.h"

namespace tarvosen::spreadsheet {

namespace {

// A template is a small form. Its parts may unpack to this much in all (a
// part read twice counts twice): a zip declaring more is refused before
// anything is unpacked, and data running past it (a zip bomb, or a declared
// size that lies) are stopped there.
constexpr std::uint64_t kMaxUnpackedBytes = 32u << 20;

// Roughly the bytes of the workbook a template builds. A few bytes of XML can
// stand for megabytes there: a cell far to the right widens its whole row, a
// formula adds itself to every cell it reads, a shared formula or string is
// copied into every cell that uses it, a column range sets every column in
// it. Such costs are counted before they are incurred, so a file that would
// take more is refused instead of exhausting the memory.
constexpr std::uint64_t kMaxWorkbookBytes = 64u << 20;
// What one entry of the row height or column width maps takes, or of the
// set of cells read from a sheet, with the allocation's overhead.
constexpr std::uint64_t kMapEntryBytes = 64;
// What a formula's entry in a cell it reads takes, with the slack of the
// growing list.
constexpr std::uint64_t kLinkBytes = 2 * sizeof(CellKey);
// Computing the formulas of a workbook reads every cell of the areas they
// refer to, as far as the sheets have cells; a template whose formulas read
// more would take minutes to save.
constexpr std::uint64_t kMaxCellReads = 64'000'000;
// Every sheet is looked up by name for each reference to it; no template
// needs more.
constexpr std::size_t kMaxSheets = 255;

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

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
        if (info.uncompressed_size > kMaxUnpackedBytes - unpacked_)
            Fail(name + " unpacks to " + std::to_string(info.uncompressed_size) +
                 " bytes; a template may unpack to " + Megabytes(kMaxUnpackedBytes) + " in all");
        if (unzOpenCurrentFile(zip_) != UNZ_OK) Fail(name + " cannot be read");
        // Not reserved from the declared size: a few bytes of zip may declare
        // anything.
        std::string data;
        char buffer[65536];
        while (true) {
            int n = unzReadCurrentFile(zip_, buffer, sizeof buffer);
            if (n < 0) {
                unzCloseCurrentFile(zip_);
                Fail(name + " is damaged");
            }
            if (n == 0) break;
            unpacked_ += static_cast<std::uint64_t>(n);
            if (unpacked_ > kMaxUnpackedBytes) {
                unzCloseCurrentFile(zip_);
                Fail(name + " unpacks to more than a template may (" +
                     Megabytes(kMaxUnpackedBytes) + " in all)");
            }
            data.append(buffer, static_cast<std::size_t>(n));
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
    std::uint64_t unpacked_ = 0;
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
        book_->deferInvalidation = true;  // every formula read starts uncomputed
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
            if (parts.size() == kMaxSheets)
                zip_.Fail("it has more than " + std::to_string(kMaxSheets) + " sheets");
            try {
                book_->CheckSheetName(SheetData{}, name);  // or it could not be saved
            } catch (const SpreadsheetError& error) {
                zip_.Fail(std::string("xl/workbook.xml: ") + error.what());
            }
            SheetData& sheet = book_->AddSheet(name);
            parts.push_back(Part{&sheet, target->second});
        }
        if (parts.empty()) zip_.Fail("it holds no worksheet");
        unsigned activeTab = root.child("bookViews").child("workbookView").attribute("activeTab").as_uint();
        book_->active = activeTab < parts.size() ? static_cast<int>(activeTab) : 0;

        for (Part& part : parts) ReadSheet(*part.sheet, part.path);
        CheckComputingCost();

        for (pugi::xml_node n : root.child("definedNames").children("definedName")) {
            if (std::string_view(n.attribute("name").value()) != "_xlnm.Print_Titles") continue;
            auto local = n.attribute("localSheetId");
            if (!local || local.as_uint() >= parts.size()) continue;
            PrintTitles(*parts[local.as_uint()].sheet, n.text().get());
        }
        book_->deferInvalidation = false;
        return std::move(book_);
    }

private:
    void Parse(pugi::xml_document& doc, const std::string& part, bool required) {
        part_ = part;
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
            Charge(sizeof(std::string) + strings_.back().size());
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
            // Every xf copies its font name and number format, however
            // often the file shares them.
            Charge(sizeof(Style) + style.fontName.size() + style.numberFormat.size());
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
            int max = std::min({kMaxColumns, col.attribute("max").as_int(min), min + 1023});
            if (max >= min) Charge(kMapEntryBytes * static_cast<std::uint64_t>(max - min + 1));
            for (int c = min; c <= max; ++c)
                sheet.columnWidths[c] = col.attribute("width").as_double();
        }
        struct Shared {
            int row, column;
            std::optional<Formula> formula;
        };
        std::map<unsigned, Shared> shared;
        // A cell given twice would replace its first formula, which takes
        // time in the number of formulas; no program writes that.
        std::unordered_set<std::uint64_t> cells;
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
                Charge(kMapEntryBytes);
                const auto key = std::uint64_t{static_cast<std::uint32_t>(cellRow)} << 32 |
                                 static_cast<std::uint32_t>(column);
                if (!cells.insert(key).second)
                    zip_.Fail(part + ": cell " + CellName(cellRow, column) + " is given twice");
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
        ChargeArea(sheet, CellRect{row, column, row, column});
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
            auto number = ParseWholeNumber(v);
            value = number ? CellValue(*number) : CellValue(ToUtf8(v));
        }
        if (const auto* text = std::get_if<std::string>(&value)) {
            Charge(text->size());
            if (text->size() > kMaxTextLength && TextLength(*text) > kMaxTextLength)
                zip_.Fail(part_ + ": cell " + CellName(row, column) + " holds more than " +
                          std::to_string(kMaxTextLength) + " characters");
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
        if (formula) {
            ChargeFormula(sheet, *formula);
            book_->PutCompiled(sheet, row, column, std::move(*formula));
        } else {
            Charge(sizeof(Formula) + text.size());
            book_->PutOpaqueFormula(sheet, row, column, text, value);
        }
    }

    // Counts bytes of the workbook being built (see kMaxWorkbookBytes).
    void Charge(std::uint64_t bytes) {
        built_ += bytes;
        if (built_ > kMaxWorkbookBytes)
            zip_.Fail(part_ + ": the workbook would take more than the " +
                      Megabytes(kMaxWorkbookBytes) + " a template may");
    }

    // The cells of `rect` are about to exist: rows hold every cell up to
    // their last one, and the sheet every row up to its last one.
    void ChargeArea(const SheetData& sheet, const CellRect& rect) {
        if (rect.firstRow < 1 || rect.firstColumn < 1 || rect.lastRow > kMaxRows ||
            rect.lastColumn > kMaxColumns)
            return;  // refused when the cell is made
        const int rows = sheet.LastRow();
        std::uint64_t bytes = 0;
        if (rect.lastRow > rows)
            bytes += sizeof(std::vector<Cell>) * static_cast<std::uint64_t>(rect.lastRow - rows);
        const auto lastColumn = static_cast<std::size_t>(rect.lastColumn);
        for (int row = rect.firstRow; row <= rect.lastRow; ++row) {
            const std::size_t width =
                row <= rows ? sheet.rows[static_cast<std::size_t>(row - 1)].size() : 0;
            if (lastColumn > width) bytes += sizeof(Cell) * (lastColumn - width);
        }
        Charge(bytes);
    }

    // The formula itself, and what linking it makes: an entry in every cell
    // of each small area it reads (the cells made when needed), one listener
    // for each large area.
    void ChargeFormula(SheetData& sheet, const Formula& formula) {
        std::uint64_t bytes = sizeof(Formula) + formula.code.size() * sizeof(Op);
        for (const Token& token : formula.tokens) {
            bytes += sizeof(Token) + token.text.size();
            if (token.kind != TokenKind::Reference) continue;
            const CellRect rect = RectOf(token);
            if (AreaOf(rect) > kLargeArea) {
                bytes += sizeof(SheetData::AreaListener);
                continue;
            }
            bytes += kLinkBytes * static_cast<std::uint64_t>(AreaOf(rect));
            ChargeArea(token.sheet ? *token.sheet : sheet, rect);
        }
        Charge(bytes);
    }

    // Refuses a workbook whose formulas read more than kMaxCellReads cells,
    // counting each area as far as its sheet has rows and columns.
    void CheckComputingCost() {
        std::map<const SheetData*, std::int64_t> widths;  // the widest row of each sheet
        for (const auto& sheet : book_->sheets) {
            std::size_t widest = 0;
            for (const auto& cells : sheet->rows) widest = std::max(widest, cells.size());
            widths[sheet.get()] = static_cast<std::int64_t>(widest);
        }
        std::uint64_t reads = 0;
        auto count = [&](const SheetData& home, const Formula& formula) {
            for (const Token& token : formula.tokens) {
                if (token.kind != TokenKind::Reference) continue;
                const SheetData& sheet = token.sheet ? *token.sheet : home;
                const CellRect r = RectOf(token);
                const std::int64_t rows = std::min<std::int64_t>(r.lastRow, sheet.LastRow());
                const std::int64_t columns = std::min(std::int64_t{r.lastColumn}, widths[&sheet]);
                if (rows >= r.firstRow && columns >= r.firstColumn)
                    reads += static_cast<std::uint64_t>((rows - r.firstRow + 1) *
                                                        (columns - r.firstColumn + 1));
            }
        };
        for (const auto& sheet : book_->sheets) {
            for (const auto& cells : sheet->rows) {
                for (const Cell& cell : cells) {
                    if (cell.formula) count(*sheet, *cell.formula);
                    if (reads > kMaxCellReads)
                        zip_.Fail("its formulas read more than " + std::to_string(kMaxCellReads) +
                                  " cells to compute");
                }
            }
        }
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
    std::string part_;       // the part being read, for messages
    std::uint64_t built_ = 0;  // see Charge
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
