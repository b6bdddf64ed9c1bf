// SpreadsheetSession: value semantics, sheets, styles, borders, merges, copy
// and clear, handles after close.

#include <gtest/gtest.h>

#include <cmath>

#include "spreadsheet/spreadsheet_session.h"
#include "spreadsheet/workbook.h"

namespace tarvosen::spreadsheet {
namespace {

const Style& StyleAt(SpreadsheetSession& book, const Sheet& sheet, const char* address) {
    CellRect r = ParseRect(address);
    Workbook& engine = book.Engine();
    SheetData& data = *engine.sheets[static_cast<std::size_t>(sheet.Index())];
    const Cell* cell = data.Find(r.firstRow, r.firstColumn);
    return engine.styles.Get(cell ? cell->style : 0);
}

TEST(Addresses, ParseAndNameCellsAndRanges) {
    EXPECT_EQ(ParseRect("B7"), (CellRect{7, 2, 7, 2}));
    EXPECT_EQ(ParseRect("$a$9:t14"), (CellRect{9, 1, 14, 20}));
    EXPECT_EQ(ParseRect("C5:A1"), (CellRect{1, 1, 5, 3}));
    EXPECT_EQ(ParseRect("XFD1048576"), (CellRect{1048576, 16384, 1048576, 16384}));
    for (const char* bad : {"", "7B", "A0", "A", "XFE1", "A1048577", "A1:", "A1:B", "A1 B2"})
        EXPECT_THROW(ParseRect(bad), SpreadsheetError) << bad;
    EXPECT_EQ(ColumnName(1), "A");
    EXPECT_EQ(ColumnName(26), "Z");
    EXPECT_EQ(ColumnName(27), "AA");
    EXPECT_EQ(ColumnName(16384), "XFD");
    EXPECT_EQ(RectName({9, 1, 14, 20}), "A9:T14");
    EXPECT_EQ(RectName({3, 2, 3, 2}), "B3");
}

TEST(CellValues, TextsAreReadAsATypingUserMeansThem) {
    SpreadsheetSession book;
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    auto put = [&](const char* text) {
        sheet.Range("A1").SetValue(text);
        return sheet.Range("A1").Value();
    };
    EXPECT_EQ(put("1.52340"), CellValue(1.5234));
    EXPECT_EQ(put("  -12"), CellValue(-12.0));
    EXPECT_EQ(put("1e3"), CellValue(1000.0));
    EXPECT_EQ(put("'0012"), CellValue(std::string("0012")));
    EXPECT_EQ(put("'=A2"), CellValue(std::string("=A2")));
    EXPECT_EQ(put("A01"), CellValue(std::string("A01")));
    EXPECT_EQ(put("1,5"), CellValue(std::string("1,5")));
    EXPECT_EQ(put("inf"), CellValue(std::string("inf")));
    EXPECT_EQ(put("2024/01/02"), CellValue(std::string("2024/01/02")));
    EXPECT_EQ(put(""), CellValue(Empty{}));
    EXPECT_EQ(put("=2*3"), CellValue(6.0));
    sheet.Range("A2").SetText("=not a formula");
    EXPECT_EQ(sheet.Range("A2").ValueText(), "=not a formula");
    EXPECT_FALSE(sheet.Range("A2").HasFormula());
    // SetFormula of a plain text is a value put.
    sheet.Range("A3").SetFormula("42");
    EXPECT_EQ(sheet.Range("A3").Value(), CellValue(42.0));
}

TEST(CellValues, NumbersOfEveryTypeAndTheirReadBack) {
    SpreadsheetSession book;
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    sheet.Cells(1, 1).SetValue(7);
    sheet.Cells(1, 2).SetValue(static_cast<unsigned short>(2026));
    sheet.Cells(1, 3).SetValue(1.6f);
    sheet.Cells(1, 4).SetValue(0.1 + 0.2);
    sheet.Cells(1, 5).SetValue(-0.2);
    sheet.Cells(1, 6).SetValue(1e20);
    sheet.Cells(1, 7).SetValue(123456789012345678.0);
    sheet.Cells(1, 8).SetValue(true);
    EXPECT_EQ(sheet.Cells(1, 1).ValueText(), "7");
    EXPECT_EQ(sheet.Cells(1, 2).ValueText(), "2026");
    EXPECT_EQ(sheet.Cells(1, 3).Value(), CellValue(1.6));
    EXPECT_EQ(sheet.Cells(1, 4).ValueText(), "0.3");
    EXPECT_EQ(sheet.Cells(1, 5).ValueText(), "-0.2");
    EXPECT_EQ(sheet.Cells(1, 6).ValueText(), "1E+20");
    EXPECT_EQ(sheet.Cells(1, 7).ValueText(), "1.23456789012346E+17");
    EXPECT_EQ(sheet.Cells(1, 8).ValueText(), "TRUE");
    EXPECT_DOUBLE_EQ(sheet.Cells(1, 8).Value2(), 1);
    sheet.Cells(1, 9).SetValue(CellValue(std::nan("")));  // no NaN ever reaches a file
    EXPECT_EQ(sheet.Cells(1, 9).ValueText(), "#NUM!");
    EXPECT_DOUBLE_EQ(sheet.Cells(9, 9).Value2(), 0);  // never written
    EXPECT_EQ(sheet.Cells(9, 9).ValueText(), "");
    // Another cell's value copied as it is, text stays text.
    sheet.Cells(2, 1).SetText("007");
    sheet.Cells(2, 2).SetValue(sheet.Cells(2, 1).Value());
    EXPECT_EQ(sheet.Cells(2, 2).Value(), CellValue(std::string("007")));
    // GB18030 bytes from instrument files become UTF-8.
    sheet.Cells(3, 1).SetValue("\xB2\xE2\xD5\xBE");
    EXPECT_EQ(sheet.Cells(3, 1).ValueText(), "测站");
}

TEST(Sheets, AreAddedInOrderNamedAndTheDefaultSheetGoes) {
    SpreadsheetSession book;
    EXPECT_THROW(book.AddSheet(), SpreadsheetError);
    book.NewWorkbook();
    EXPECT_EQ(book.SheetCount(), 1);
    Sheet first = book.AddSheet();
    first.SetName("水准线1");
    Sheet second = book.AddSheet();
    second.SetName("水准线2");
    ASSERT_EQ(book.SheetCount(), 2);
    EXPECT_EQ(book.SheetAt(0).Name(), "水准线1");
    EXPECT_EQ(book.ActiveSheet().Name(), "水准线2");
    EXPECT_THROW(first.SetName("水准线2"), SpreadsheetError);
    EXPECT_THROW(first.SetName("a/b"), SpreadsheetError);
    EXPECT_THROW(first.SetName(std::string(32, 'x')), SpreadsheetError);
    first.SetName(std::string(31, 'x'));
    EXPECT_TRUE(book.FindSheet("水准线2").has_value());
    // A default sheet that was used stays.
    book.NewWorkbook();
    book.ActiveSheet().Range("A1").SetValue(1);
    book.AddSheet();
    EXPECT_EQ(book.SheetCount(), 2);
    // Handles of a closed workbook fail cleanly.
    CellRange cell = second.Range("A1");
    book.Close();
    EXPECT_THROW(cell.SetValue(1), SpreadsheetError);
    EXPECT_THROW(second.Name(), SpreadsheetError);
    EXPECT_THROW(Sheet().Cells(1, 1).Value(), SpreadsheetError);
}

TEST(Styles, BordersGiveAMediumOutlineWithThinInnerLines) {
    SpreadsheetSession book;
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    CellRange block = sheet.Range("A5:C7");
    block.SetBorders(BorderWeight::Medium);
    block.SetBorder(BorderEdge::InsideHorizontal, BorderWeight::Thin);
    block.SetBorder(BorderEdge::InsideVertical, BorderWeight::Thin);
    using W = BorderWeight;
    auto sides = [&](const char* a) {
        const Style& s = StyleAt(book, sheet, a);
        return std::vector<W>(s.border, s.border + 4);  // left, top, right, bottom
    };
    EXPECT_EQ(sides("A5"), (std::vector<W>{W::Medium, W::Medium, W::Thin, W::Thin}));
    EXPECT_EQ(sides("B6"), (std::vector<W>{W::Thin, W::Thin, W::Thin, W::Thin}));
    EXPECT_EQ(sides("C7"), (std::vector<W>{W::Thin, W::Thin, W::Medium, W::Medium}));
    EXPECT_EQ(sides("B7"), (std::vector<W>{W::Thin, W::Thin, W::Thin, W::Medium}));
    EXPECT_EQ(sides("D6"), (std::vector<W>{W::None, W::None, W::None, W::None}));
    // A block below shares our bottom edge: the weight set last holds for both.
    sheet.Range("A8:C8").SetBorders(BorderWeight::Thin);
    EXPECT_EQ(sides("B7")[3], W::Thin);
}

TEST(Styles, FontsFormatsAndAlignmentCombinePerCell) {
    SpreadsheetSession book;
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    sheet.Range("A1:B2").SetFontName("楷体_GB2312");
    sheet.Range("A1").SetFontSize(14);
    sheet.Range("B2").SetFontColour(Colour::FromBgr(255));
    sheet.Range("B2").SetFontUnderline(Underline::Single);
    sheet.Range("A1:B2").SetHorizontalAlignment(HorizontalAlignment::Center);
    sheet.Range("A2").SetNumberFormat("0.00000");
    sheet.Range("A2").SetWrapText(true);
    const Style& a1 = StyleAt(book, sheet, "A1");
    EXPECT_EQ(a1.fontName, "楷体_GB2312");
    EXPECT_EQ(a1.fontSize, 14);
    EXPECT_EQ(a1.horizontal, HorizontalAlignment::Center);
    const Style& b2 = StyleAt(book, sheet, "B2");
    EXPECT_EQ(b2.fontRgb, kRed.rgb);
    EXPECT_EQ(b2.underline, Underline::Single);
    EXPECT_EQ(b2.fontSize, 11);
    EXPECT_EQ(StyleAt(book, sheet, "A2").numberFormat, "0.00000");
    EXPECT_TRUE(StyleAt(book, sheet, "A2").wrap);
    // Clearing contents keeps styles.
    sheet.Range("A2").SetValue(1.5);
    sheet.Range("A1:B2").ClearContents();
    EXPECT_EQ(sheet.Range("A2").ValueText(), "");
    EXPECT_EQ(StyleAt(book, sheet, "A2").numberFormat, "0.00000");
}

TEST(Layout, MergesKeepTheTopLeftValueAndTakeInOverlaps) {
    SpreadsheetSession book;
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    SheetData& data = *book.Engine().sheets[0];
    sheet.Range("A1").SetValue("keep");
    sheet.Range("B1").SetValue("drop");
    sheet.Range("A1:B1").Merge();
    EXPECT_EQ(sheet.Range("A1").ValueText(), "keep");
    EXPECT_EQ(sheet.Range("B1").ValueText(), "");
    sheet.Range("B1:C2").Merge();
    ASSERT_EQ(data.merges.size(), 1u);
    EXPECT_EQ(data.merges[0], (CellRect{1, 1, 2, 3}));
    sheet.Range("E5").Merge();  // a single cell is no merge
    EXPECT_EQ(data.merges.size(), 1u);
}

TEST(Layout, CopyBringsValuesFormulasStylesAndMergesAndClearKeepsStyles) {
    SpreadsheetSession book;
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    SheetData& data = *book.Engine().sheets[0];
    // A template block in rows 9-10 as the traverse book has it.
    sheet.Range("A9:C10").SetBorders(BorderWeight::Thin);
    sheet.Range("A9:A10").Merge();
    sheet.Range("B9").SetValue(2);
    sheet.Range("C9").SetFormula("=B9*2");
    sheet.Range("C10").SetFormula("=C9+$B$9");
    sheet.Range("A9:C10").CopyTo(sheet.Range("A15"));
    EXPECT_EQ(sheet.Range("C16").Formula(), "=C15+$B$9");
    EXPECT_DOUBLE_EQ(sheet.Range("C16").Value2(), 6);
    EXPECT_EQ(StyleAt(book, sheet, "B16").border[kBottom], BorderWeight::Thin);
    EXPECT_NE(std::find(data.merges.begin(), data.merges.end(), CellRect{15, 1, 16, 1}),
              data.merges.end());
    sheet.Range("A15:C16").ClearContents();
    EXPECT_EQ(sheet.Range("C16").ValueText(), "");
    EXPECT_EQ(StyleAt(book, sheet, "B16").border[kBottom], BorderWeight::Thin);
    // Overlapping copy reads the source before writing.
    sheet.Range("D1").SetValue(1);
    sheet.Range("D2").SetValue(2);
    sheet.Range("D1:D2").CopyTo(sheet.Range("D2"));
    EXPECT_EQ(sheet.Range("D3").ValueText(), "2");
    EXPECT_EQ(sheet.Range("D2").ValueText(), "1");
    EXPECT_THROW(sheet.Range("D1:D2").CopyTo(sheet.Range("E1:E3")), SpreadsheetError);
}

}  // namespace
}  // namespace tarvosen::spreadsheet
