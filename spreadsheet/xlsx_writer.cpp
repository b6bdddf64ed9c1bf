// Writing .xlsx with libxlsxwriter, every formula with its computed result.

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>

#include "app/atomic_save.h"
#include "spreadsheet/values.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/xlsx.h"

namespace tarvosen::spreadsheet {

namespace {

constexpr std::size_t kMaxFormulaLength = 8192;  // without the leading "="

std::uint8_t BorderStyle(BorderWeight weight) {
    switch (weight) {
        case BorderWeight::Thin: return LXW_BORDER_THIN;
        case BorderWeight::Medium: return LXW_BORDER_MEDIUM;
        case BorderWeight::Thick: return LXW_BORDER_THICK;
        default: return LXW_BORDER_NONE;
    }
}

// The width of a sheet's used columns in characters, unset ones at the
// default width, and what an A4 portrait page with the default margins holds.
constexpr double kDefaultColumnWidth = 8.43;
constexpr double kPortraitPageWidth = 90;

double PrintedWidth(const SheetData& sheet) {
    std::size_t columns = 0;
    for (const auto& row : sheet.rows) columns = std::max(columns, row.size());
    for (const auto& m : sheet.merges) columns = std::max(columns, std::size_t(m.lastColumn));
    double width = 0;
    for (std::size_t c = 1; c <= columns; ++c) {
        const auto it = sheet.columnWidths.find(static_cast<int>(c));
        width += it == sheet.columnWidths.end() ? kDefaultColumnWidth : it->second;
    }
    return width;
}

// 0 means "not set" to libxlsxwriter; black has its own value.
lxw_color_t Rgb(std::uint32_t rgb) {
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

class Writer {
public:
    Writer(Workbook& book, const std::filesystem::path& target, const std::filesystem::path& temp)
        : book_(book), target_(target) {
        lxw_workbook_options options{};
        // Rows are written in order and flushed as they are done: far less
        // memory and time than keeping every cell until the end.
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        std::string name = temp.string();
        wb_ = workbook_new_opt(name.c_str(), &options);
        if (!wb_) Fail("cannot start the file");
        formats_.assign(book.styles.Size(), nullptr);
    }
    ~Writer() {
        // workbook_close also frees; only reached on failure paths.
        if (wb_) lxw_workbook_free(wb_);
    }

    void Run() {
        std::vector<lxw_worksheet*> worksheets;
        for (auto& sheet : book_.sheets) {
            lxw_worksheet* ws = workbook_add_worksheet(wb_, sheet->name.c_str());
            if (!ws) Fail("sheet \"" + sheet->name + "\" cannot be added");
            worksheets.push_back(ws);
            WriteSheet(*sheet, ws);
        }
        if (!worksheets.empty() && book_.active >= 0 &&
            book_.active < static_cast<int>(worksheets.size()))
            worksheet_activate(worksheets[static_cast<std::size_t>(book_.active)]);
        WriteProperties();
        lxw_error error = workbook_close(wb_);
        wb_ = nullptr;
        if (error != LXW_NO_ERROR) Fail(lxw_strerror(error));
    }

private:
    void WriteProperties() {
        const DocumentProperties& p = book_.properties;
        if (!p.comments.empty()) {
            lxw_doc_properties properties{};
            properties.comments = const_cast<char*>(p.comments.c_str());  // only read
            if (workbook_set_properties(wb_, &properties) != LXW_NO_ERROR)
                Fail("the document properties cannot be set");
        }
        for (const auto& [name, value] : p.custom)
            if (workbook_set_custom_property_string(wb_, name.c_str(), value.c_str()) !=
                LXW_NO_ERROR)
                Fail("the document property \"" + name + "\" cannot be set");
    }

    [[noreturn]] void Fail(const std::string& what) {
        throw SpreadsheetError("Cannot save the workbook " + target_.string() + ": " + what);
    }
    void Check(lxw_error error, const SheetData& sheet, int row, int column) {
        if (error != LXW_NO_ERROR)
            Fail("sheet \"" + sheet.name + "\", cell " + CellName(row, column) + ": " +
                 lxw_strerror(error));
    }

    lxw_format* Format(std::uint32_t index) {
        if (index == 0 && book_.styles.Get(0) == Style{}) return nullptr;
        if (formats_[index]) return formats_[index];
        const Style& s = book_.styles.Get(index);
        lxw_format* f = workbook_add_format(wb_);
        format_set_font_name(f, s.fontName.c_str());
        if (!IsAscii(s.fontName)) format_set_font_charset(f, 134);  // GB2312
        format_set_font_size(f, s.fontSize);
        if (s.fontRgb != 0) format_set_font_color(f, Rgb(s.fontRgb));
        if (s.underline == Underline::Single) format_set_underline(f, LXW_UNDERLINE_SINGLE);
        if (s.underline == Underline::Double) format_set_underline(f, LXW_UNDERLINE_DOUBLE);
        if (s.bold) format_set_bold(f);
        if (s.italic) format_set_italic(f);
        if (s.numberFormat != "General") format_set_num_format(f, s.numberFormat.c_str());
        switch (s.horizontal) {
            case HorizontalAlignment::Left: format_set_align(f, LXW_ALIGN_LEFT); break;
            case HorizontalAlignment::Center: format_set_align(f, LXW_ALIGN_CENTER); break;
            case HorizontalAlignment::Right: format_set_align(f, LXW_ALIGN_RIGHT); break;
            default: break;
        }
        switch (s.vertical) {
            case VerticalAlignment::Top: format_set_align(f, LXW_ALIGN_VERTICAL_TOP); break;
            case VerticalAlignment::Center: format_set_align(f, LXW_ALIGN_VERTICAL_CENTER); break;
            default: break;
        }
        if (s.wrap) format_set_text_wrap(f);
        format_set_left(f, BorderStyle(s.border[kLeft]));
        format_set_top(f, BorderStyle(s.border[kTop]));
        format_set_right(f, BorderStyle(s.border[kRight]));
        format_set_bottom(f, BorderStyle(s.border[kBottom]));
        if (s.filled) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, Rgb(s.fillRgb));
        }
        formats_[index] = f;
        return f;
    }

    void WriteSheet(SheetData& sheet, lxw_worksheet* ws) {
        for (auto& [column, width] : sheet.columnWidths) {
            auto c = static_cast<lxw_col_t>(column - 1);
            worksheet_set_column(ws, c, c, width, nullptr);
        }
        if (!sheet.showGridlines) worksheet_gridlines(ws, LXW_HIDE_ALL_GRIDLINES);
        if (sheet.fitToPageWidth) {
            worksheet_fit_to_pages(ws, 1, 0);
            if (PrintedWidth(sheet) > kPortraitPageWidth) worksheet_set_landscape(ws);
        }
        if (sheet.printTitleFirstRow > 0)
            worksheet_repeat_rows(ws, static_cast<lxw_row_t>(sheet.printTitleFirstRow - 1),
                                  static_cast<lxw_row_t>(sheet.printTitleLastRow - 1));
        // Merged areas: in row-by-row mode worksheet_merge_range would write
        // cells out of order, so the areas are added to the sheet's list
        // directly (the cells themselves are written below with their own
        // styles, as a spreadsheet program stores them).
        // The library counts them in 16 bits.
        if (sheet.merges.size() > 65535)
            Fail("sheet \"" + sheet.name + "\" has more than 65,535 merged areas");
        for (const CellRect& m : sheet.merges) {
            auto* range = static_cast<lxw_merged_range*>(std::calloc(1, sizeof(lxw_merged_range)));
            if (!range) Fail("out of memory");
            range->first_row = static_cast<lxw_row_t>(m.firstRow - 1);
            range->last_row = static_cast<lxw_row_t>(m.lastRow - 1);
            range->first_col = static_cast<lxw_col_t>(m.firstColumn - 1);
            range->last_col = static_cast<lxw_col_t>(m.lastColumn - 1);
            STAILQ_INSERT_TAIL(ws->merged_ranges, range, list_pointers);
            ++ws->merged_range_count;
        }
        int lastRow = sheet.LastRow();
        if (!sheet.rowHeights.empty()) lastRow = std::max(lastRow, sheet.rowHeights.rbegin()->first);
        auto height = sheet.rowHeights.begin();
        for (int row = 1; row <= lastRow; ++row) {
            if (height != sheet.rowHeights.end() && height->first == row) {
                worksheet_set_row(ws, static_cast<lxw_row_t>(row - 1), height->second, nullptr);
                ++height;
            }
            if (row > sheet.LastRow()) continue;
            auto& cells = sheet.rows[static_cast<std::size_t>(row - 1)];
            for (std::size_t c = 0; c < cells.size(); ++c)
                WriteCell(sheet, ws, row, static_cast<int>(c + 1), cells[c]);
        }
    }

    void WriteCell(SheetData& sheet, lxw_worksheet* ws, int row, int column, const Cell& cell) {
        auto r = static_cast<lxw_row_t>(row - 1);
        auto c = static_cast<lxw_col_t>(column - 1);
        lxw_format* format = Format(cell.style);
        lxw_error error = LXW_NO_ERROR;
        std::string text;
        if (cell.formula) text = book_.FormulaText(*cell.formula);
        // Spreadsheet programs refuse formulas longer than 8,192 characters
        // (Excel will not open the file, LibreOffice shows Err:512): such a
        // formula is saved as its computed value, which stays right.
        if (cell.formula && text.size() <= kMaxFormulaLength + 1) {
            const CellValue& v = cell.value;
            if (auto* d = std::get_if<double>(&v))
                error = worksheet_write_formula_num(ws, r, c, text.c_str(), format, *d);
            else if (auto* b = std::get_if<bool>(&v))
                error = worksheet_write_formula_num(ws, r, c, text.c_str(), format, *b ? 1 : 0);
            else if (std::holds_alternative<Empty>(v))
                error = worksheet_write_formula_num(ws, r, c, text.c_str(), format, 0);
            else
                error = worksheet_write_formula_str(ws, r, c, text.c_str(), format,
                                                    ValueToText(v).c_str());
        } else {
            const CellValue& v = cell.value;
            if (auto* d = std::get_if<double>(&v)) {
                error = worksheet_write_number(ws, r, c, *d, format);
            } else if (auto* s = std::get_if<std::string>(&v)) {
                if (s->empty()) error = worksheet_write_blank(ws, r, c, format);
                else error = worksheet_write_string(ws, r, c, s->c_str(), format);
            } else if (auto* b = std::get_if<bool>(&v)) {
                error = worksheet_write_boolean(ws, r, c, *b, format);
            } else if (auto* e = std::get_if<CellError>(&v)) {
                error = worksheet_write_string(ws, r, c, std::string(ErrorText(*e)).c_str(), format);
            } else if (format) {
                error = worksheet_write_blank(ws, r, c, format);
            }
        }
        Check(error, sheet, row, column);
    }

    Workbook& book_;
    std::filesystem::path target_;
    lxw_workbook* wb_ = nullptr;
    std::vector<lxw_format*> formats_;
};

}  // namespace

void WriteXlsx(Workbook& book, const std::filesystem::path& path,
               const std::function<void()>& beforeReplace) {
    book.EvaluateAll();
    const std::filesystem::path dir = path.parent_path().empty() ? "." : path.parent_path();
    if (!std::filesystem::is_directory(dir))
        throw SpreadsheetError("Cannot save the workbook " + path.string() + ": there is no folder " +
                               dir.string());
    const Outcome saved = SaveAtomicallyByName(path, [&](const std::filesystem::path& temp) {
        Writer(book, path, temp).Run();
        // The library does not check the writes of the temporary files it
        // keeps the sheets in: on a full disk it packs a cut-off sheet and
        // reports success. Reading the parts back finds that.
        CheckXlsxComplete(temp, path);
        if (beforeReplace) beforeReplace();
    });
    if (!saved)
        throw SpreadsheetError("Cannot save the workbook " + path.string() + ": " +
                               saved.description());
}

}  // namespace tarvosen::spreadsheet
