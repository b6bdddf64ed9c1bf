// Saved workbooks checked by real programs: openpyxl reads the structure back,
// LibreOffice recalculates every formula and must agree with the values we
// cached. Templates written by openpyxl and LibreOffice open and round-trip.
// Each test skips when its program is not installed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "spreadsheet/spreadsheet_session.h"
#include "spreadsheet/workbook.h"

namespace tarvosen::spreadsheet {
namespace {

namespace fs = std::filesystem;

const char* kPython = "/usr/bin/python3";

bool HavePython() {
    return fs::exists(kPython) &&
           std::system((std::string(kPython) + " -c 'import openpyxl' >/dev/null 2>&1").c_str()) == 0;
}

bool HaveLibreOffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

class XlsxFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tarvosen_xlsx_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs a Python script with openpyxl; its output is returned, a failing
    // script fails the test with that output.
    std::string Python(const std::string& script, const std::string& args = "") {
        fs::path file = dir / "check.py";
        std::ofstream(file) << "import sys, openpyxl\n" << script;
        fs::path out = dir / "python.out";
        std::string command = std::string(kPython) + " " + file.string() + " " + args + " >" +
                              out.string() + " 2>&1";
        int status = std::system(command.c_str());
        std::stringstream text;
        text << std::ifstream(out).rdbuf();
        EXPECT_EQ(status, 0) << text.str();
        return text.str();
    }

    // Opens `file` in LibreOffice with every formula recalculated on load and
    // saves it as .xlsx into `into`; returns the path written.
    fs::path Recalculate(const fs::path& file, const fs::path& into) {
        fs::path profile = dir / "lo_profile";
        fs::create_directories(profile / "user");
        std::ofstream(profile / "user" / "registrymodifications.xcu")
            << R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
)";
        fs::create_directories(into);
        std::string command = "soffice -env:UserInstallation=file://" + profile.string() +
                              " --headless --convert-to xlsx --outdir " + into.string() + " " +
                              file.string() + " >" + (dir / "soffice.out").string() + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return into / file.filename();
    }

    // Every formula cell of `ours` has the value LibreOffice computes.
    void ExpectLibreOfficeAgrees(const fs::path& ours) {
        fs::path theirs = Recalculate(ours, dir / "recalculated");
        ASSERT_TRUE(fs::exists(theirs));
        std::string out = Python(R"(
formulas = openpyxl.load_workbook(sys.argv[1])
cached = openpyxl.load_workbook(sys.argv[1], data_only=True)
recalculated = openpyxl.load_workbook(sys.argv[2], data_only=True)
def norm(v):
    if isinstance(v, bool): return float(v)
    if isinstance(v, (int, float)): return float(v)
    return v
bad, count = [], 0
for ws in formulas.worksheets:
    for row in ws.iter_rows():
        for c in row:
            if isinstance(c.value, str) and c.value.startswith('='):
                count += 1
                a = norm(cached[ws.title][c.coordinate].value)
                b = norm(recalculated[ws.title][c.coordinate].value)
                same = a == b or (isinstance(a, float) and isinstance(b, float) and abs(a - b) <= 1e-9 * max(1.0, abs(a)))
                if not same: bad.append('%s!%s %s: ours %r, LibreOffice %r' % (ws.title, c.coordinate, c.value, a, b))
print('formulas', count)
if bad:
    print('\n'.join(bad)); sys.exit(1)
)",
                                 ours.string() + " " + theirs.string());
        EXPECT_NE(out.find("formulas "), std::string::npos);
        EXPECT_EQ(out.find("formulas 0\n"), std::string::npos) << "no formula was compared";
    }

    fs::path dir;
};

// A levelling book in miniature: a header as the record books write it and
// station groups with the formulas they use.
void BuildLevellingBook(SpreadsheetSession& book) {
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    sheet.SetDisplayGridlines(false);
    sheet.SetGridlineColour(Colour::FromBgr(0xFF0000));
    sheet.SetName("水准线1");
    sheet.Range("A1:H1").Merge();
    sheet.Range("A1").SetValue("二等电子水准测量记录手簿");
    sheet.Range("A1").SetFontName("黑体");
    sheet.Range("A1").SetFontSize(14);
    sheet.SetRowHeight(1, 40);
    sheet.SetColumnWidth(1, 5);
    sheet.Range("B1:G1").SetColumnWidth(9);
    sheet.Range("A5:H8").SetBorders(BorderWeight::Medium);
    sheet.Range("A5:H8").SetBorder(BorderEdge::InsideHorizontal, BorderWeight::Thin);
    sheet.Range("A5:H8").SetBorder(BorderEdge::InsideVertical, BorderWeight::Thin);
    sheet.Range("A2:H8").SetFontName("楷体_GB2312");
    sheet.Range("A1:H8").SetHorizontalAlignment(HorizontalAlignment::Center);
    sheet.Range("A1:H8").SetVerticalAlignment(VerticalAlignment::Center);
    sheet.Range("A5:A8").Merge();
    sheet.Range("A5").SetValue("测 站");
    sheet.SetPrintTitleRows("A1:H8");
    const char* readings[][4] = {{"1.52340", "1.52360", "1.41200", "1.41230"},
                                 {"1.60010", "1.60050", "1.38800", "1.38790"},
                                 {"1.10000", "1.10020", "1.90000", "1.90010"}};
    for (int g = 0; g < 3; ++g) {
        int r = 4 * g + 9;
        auto row = [](int n) { return std::to_string(n); };
        sheet.Cells(r, 1).SetValue(g + 1);
        sheet.Span(r, 1, r + 3, 1).Merge();
        sheet.Cells(r, 2).SetValue(" 30.12");
        sheet.Cells(r + 1, 2).SetValue("30.10");
        sheet.Cells(r, 3).SetValue("29.50");
        sheet.Cells(r + 1, 3).SetValue("29.55");
        sheet.Cells(r, 4).SetValue(readings[g][0]);
        sheet.Cells(r, 5).SetValue(readings[g][1]);
        sheet.Cells(r + 1, 4).SetValue(readings[g][2]);
        sheet.Cells(r + 1, 5).SetValue(readings[g][3]);
        sheet.Cells(r, 6).SetFormula("=(D" + row(r) + "-E" + row(r) + ")*1000");
        sheet.Cells(r + 2, 2).SetFormula("=(B" + row(r) + "+B" + row(r + 1) + ")/2");
        sheet.Cells(r + 2, 4).SetFormula("=(D" + row(r) + "-D" + row(r + 1) + ")");
        sheet.Cells(r + 2, 5).SetFormula("=(E" + row(r) + "-E" + row(r + 1) + ")");
        sheet.Cells(r + 2, 7).SetFormula("=(D" + row(r + 2) + "+E" + row(r + 2) + ")/2");
        sheet.Cells(r + 3, 2).SetFormula("=B" + row(r + 2) + "-C" + row(r + 2));
        sheet.Cells(r + 3, 3).SetFormula(g == 0 ? "=B" + row(r + 3)
                                                : "=B" + row(r + 3) + "+C" + row(r - 1));
        sheet.Span(r, 1, r + 3, 8).SetBorders(BorderWeight::Medium);
        sheet.Span(r, 1, r + 3, 8).SetBorder(BorderEdge::InsideHorizontal, BorderWeight::Thin);
        sheet.Span(r, 1, r + 3, 8).SetBorder(BorderEdge::InsideVertical, BorderWeight::Thin);
        if (std::abs(sheet.Cells(r, 6).Value2()) > 0.3) {
            sheet.Cells(r, 6).SetFontColour(kRed);
            sheet.Cells(r, 8).SetValue("两次读数差超限");
            sheet.Cells(r, 8).SetWrapText(true);
        }
    }
    sheet.Range("D9:E10").SetNumberFormat("0.00000");
    sheet.Range("B21").SetValue("=sum(B9:B19)+Sum(C9:C19)");
    sheet.Range("C21").SetFormula("=ROUND(AVERAGE(F9:F17),3)");
    sheet.Range("D21").SetFormula("=IF(ABS(F9)>0.3,\"超限\",\"合格\")");
    sheet.Range("E21").SetFormula("=MOD(INT(-7.5),3)+MIN(B9:C10)-MAX(1,2)");
    sheet.Range("F21").SetFormula("=1/0");
    sheet.Range("G21").SetFormula("=D21&\"!\"");
    sheet.Range("H21").SetFormula("=B9>C9");
    sheet.Range("B22").SetValue("'0012");
    sheet.Range("C22").SetValue("高差总和");
    sheet.Range("D22").SetFontUnderline(Underline::Single);
    sheet.Range("D22").SetValue("W");

    Sheet second = book.AddSheet();
    second.SetName("水准线2");
    second.Range("A1").SetFormula("='水准线1'!B21*2");
    second.Range("A2").SetValue(1.6f);
}

TEST_F(XlsxFiles, OpenpyxlReadsBackTheStructure) {
    if (!HavePython()) GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    SpreadsheetSession book;
    BuildLevellingBook(book);
    fs::path file = dir / "book.xlsx";
    book.SaveAs(file);
    EXPECT_TRUE(book.HasWorkbook());
    Python(R"(
wb = openpyxl.load_workbook(sys.argv[1])
assert wb.sheetnames == ['水准线1', '水准线2'], wb.sheetnames
ws = wb['水准线1']
merged = sorted(str(r) for r in ws.merged_cells.ranges)
assert merged == sorted(['A1:H1', 'A5:A8', 'A9:A12', 'A13:A16', 'A17:A20']), merged
assert ws['A1'].value == '二等电子水准测量记录手簿'
assert ws['A1'].font.name == '黑体' and ws['A1'].font.sz == 14, ws['A1'].font
assert ws['B2'].font.name == '楷体_GB2312'
assert ws['A1'].alignment.horizontal == 'center' and ws['A1'].alignment.vertical == 'center'
b = ws['A5'].border
assert (b.left.style, b.top.style, b.right.style, b.bottom.style) == ('medium', 'medium', 'thin', 'thin'), b
b = ws['C7'].border
assert (b.left.style, b.top.style, b.right.style, b.bottom.style) == ('thin', 'thin', 'thin', 'thin'), b
b = ws['H8'].border
assert (b.right.style, b.bottom.style) == ('medium', 'medium'), b
assert ws['D9'].number_format == '0.00000', ws['D9'].number_format
assert ws['D9'].value == 1.5234 and ws['B9'].value == 30.12
assert ws['F9'].value == '=(D9-E9)*1000', ws['F9'].value
assert ws['B21'].value == '=SUM(B9:B19)+SUM(C9:C19)', ws['B21'].value
assert ws['F13'].font.color.rgb.endswith('FF0000'), ws['F13'].font.color
assert ws['H13'].value == '两次读数差超限' and ws['H13'].alignment.wrap_text
assert ws['B22'].value == '0012'
assert ws['D22'].font.u == 'single'
assert ws.row_dimensions[1].height == 40
assert abs(ws.column_dimensions['A'].width - 5) < 1, ws.column_dimensions['A'].width
assert abs(ws.column_dimensions['C'].width - 9) < 1
assert ws.sheet_view.showGridLines is False
assert ws.print_title_rows == '$1:$8', ws.print_title_rows
assert wb['水准线2']['A1'].value == "='水准线1'!B21*2", wb['水准线2']['A1'].value
assert wb['水准线2']['A2'].value == 1.6
cached = openpyxl.load_workbook(sys.argv[1], data_only=True)['水准线1']
assert cached['F9'].value == -0.2 or abs(cached['F9'].value + 0.2) < 1e-9, cached['F9'].value
assert cached['F21'].value == '#DIV/0!'
)",
           file.string());
}

TEST_F(XlsxFiles, LibreOfficeRecalculatesTheValuesWeCached) {
    if (!HavePython()) GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    if (!HaveLibreOffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    SpreadsheetSession book;
    BuildLevellingBook(book);
    fs::path file = dir / "book.xlsx";
    book.SaveAs(file);
    ExpectLibreOfficeAgrees(file);
}

TEST_F(XlsxFiles, OurOwnWorkbookRoundTrips) {
    SpreadsheetSession book;
    BuildLevellingBook(book);
    fs::path file = dir / "book.xlsx";
    book.SaveAs(file);
    book.Close();
    book.OpenWorkbook(file);
    ASSERT_EQ(book.SheetCount(), 2);
    Sheet sheet = book.SheetAt(0);
    EXPECT_EQ(sheet.Name(), "水准线1");
    EXPECT_EQ(sheet.Range("A1").ValueText(), "二等电子水准测量记录手簿");
    EXPECT_EQ(sheet.Range("F9").Formula(), "=(D9-E9)*1000");
    EXPECT_NEAR(sheet.Range("F9").Value2(), -0.2, 1e-9);
    EXPECT_EQ(sheet.Range("B22").ValueText(), "0012");
    EXPECT_EQ(book.SheetAt(1).Range("A1").Formula(), "='水准线1'!B21*2");
    // Formulas read from a file follow new writes.
    sheet.Range("D9").SetValue(1.6);
    EXPECT_NEAR(sheet.Range("F9").Value2(), (1.6 - 1.5236) * 1000, 1e-9);
    const SheetData& data = *book.Engine().sheets[0];
    EXPECT_FALSE(data.showGridlines);
    EXPECT_EQ(data.printTitleFirstRow, 1);
    EXPECT_EQ(data.printTitleLastRow, 8);
    EXPECT_EQ(data.merges.size(), 5u);
    EXPECT_DOUBLE_EQ(data.rowHeights.at(1), 40);
    EXPECT_NEAR(data.columnWidths.at(1), 5, 1);
    const Style& a5 = book.Engine().styles.Get(data.Find(5, 1)->style);
    EXPECT_EQ(a5.border[kLeft], BorderWeight::Medium);
    EXPECT_EQ(a5.border[kRight], BorderWeight::Thin);
    EXPECT_EQ(a5.fontName, "楷体_GB2312");
    book.SaveAs(file);
}

TEST_F(XlsxFiles, TemplatesFromOpenpyxlAndLibreOfficeOpenAndRoundTrip) {
    if (!HavePython()) GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
    fs::path source = dir / "template.xlsx";
    // A traverse-book-like template: header cells, a six-row block with a
    // merge, borders and formulas, a second sheet.
    Python(R"(
from openpyxl.styles import Font, Border, Side, Alignment
wb = openpyxl.Workbook()
ws = wb.active
ws.title = '导线记录'
ws['J1'] = 'DGDX'
ws['E3'] = '观测者'
ws['A5'] = '测站'
ws['A5'].font = Font(name='宋体', size=12, bold=True)
thin = Side(style='thin')
for row in ws['A9:T14']:
    for c in row:
        c.border = Border(left=thin, right=thin, top=thin, bottom=thin)
        c.alignment = Alignment(horizontal='center')
ws.merge_cells('A9:A10')
ws['G9'] = '=D9+E9'
ws['G10'] = '=SUM(D9:F10)'
ws['H9'] = '=$J$2*2'
ws['G14'] = '=D15+G9'
ws['J2'] = 3
ws.column_dimensions['A'].width = 8
ws.row_dimensions[9].height = 20
ws.sheet_view.showGridLines = False
ws.print_title_rows = '1:8'
wb.create_sheet('说明')['A1'] = 'note'
wb.save(sys.argv[1])
)",
           source.string());
    SpreadsheetSession book;
    book.OpenWorkbook(source);
    ASSERT_EQ(book.SheetCount(), 2);
    Sheet sheet = book.ActiveSheet();
    EXPECT_EQ(sheet.Name(), "导线记录");
    EXPECT_EQ(sheet.Range("J1").ValueText(), "DGDX");
    EXPECT_DOUBLE_EQ(sheet.Range("H9").Value2(), 6);
    // Fill it as the traverse book does: copy the block down, clear the copy.
    sheet.Range("D9").SetValue(10);
    sheet.Range("E9").SetValue(20);
    sheet.Range("A9:T14").CopyTo(sheet.Range("A15"));
    EXPECT_EQ(sheet.Range("G15").Formula(), "=D15+E15");
    EXPECT_EQ(sheet.Range("G16").Formula(), "=SUM(D15:F16)");
    EXPECT_DOUBLE_EQ(sheet.Range("G15").Value2(), 30);
    sheet.Range("A15:T19").ClearContents();
    EXPECT_FALSE(sheet.Range("G15").HasFormula());
    sheet.Range("D21").SetValue(1);
    EXPECT_DOUBLE_EQ(sheet.Range("G20").Value2(), 1);
    EXPECT_DOUBLE_EQ(sheet.Range("G9").Value2(), 30);
    fs::path filled = dir / "filled.xlsx";
    book.SaveAs(filled);
    Python(R"(
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb['导线记录']
assert wb.sheetnames == ['导线记录', '说明']
assert ws['A5'].font.name == '宋体' and ws['A5'].font.b and ws['A5'].font.sz == 12
assert ws['B14'].border.bottom.style == 'thin'
assert ws['C20'].border.bottom.style == 'thin', ws['C20'].border
assert ws['G15'].value is None  # cleared, rows 15-19
assert ws['G20'].value == '=D21+G15', ws['G20'].value
merged = sorted(str(r) for r in ws.merged_cells.ranges)
assert merged == ['A15:A16', 'A9:A10'], merged
assert ws.row_dimensions[9].height == 20
assert ws.sheet_view.showGridLines is False
assert ws.print_title_rows == '$1:$8', ws.print_title_rows
)",
           filled.string());
    if (!HaveLibreOffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    ExpectLibreOfficeAgrees(filled);
    // The same book saved by LibreOffice opens again with its formulas.
    fs::path resaved = Recalculate(filled, dir / "resaved");
    book.OpenWorkbook(resaved);
    Sheet again = book.FindSheet("导线记录").value();
    EXPECT_EQ(again.Range("G9").Formula(), "=D9+E9");
    EXPECT_DOUBLE_EQ(again.Range("G9").Value2(), 30);
    EXPECT_EQ(again.Range("A5").ValueText(), "测站");
    fs::path third = dir / "third.xlsx";
    book.SaveAs(third);
    ExpectLibreOfficeAgrees(third);
}

TEST_F(XlsxFiles, FormulasTooLongForSpreadsheetProgramsAreSavedAsTheirValue) {
    // The line length of a levelling book of 2,000 stations: "=SUM(0+C9+C10+...)/1000".
    SpreadsheetSession book;
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    std::string formula = "=SUM(0";
    for (int row = 9; row < 9 + 4000; ++row) {
        sheet.Cells(row, 3).SetValue(30.5);
        formula += "+C" + std::to_string(row);
    }
    formula += ")/1000";
    sheet.Range("F1").SetValue(formula);
    sheet.Range("F2").SetFormula("=C9*2");
    fs::path file = dir / "long.xlsx";
    book.SaveAs(file);
    book.OpenWorkbook(file);
    sheet = book.ActiveSheet();
    EXPECT_FALSE(sheet.Range("F1").HasFormula());
    EXPECT_DOUBLE_EQ(sheet.Range("F1").Value2(), 122);
    EXPECT_TRUE(sheet.Range("F2").HasFormula());
}

TEST_F(XlsxFiles, FailuresNameTheFileAndLeaveNothingBehind) {
    SpreadsheetSession book;
    EXPECT_THROW(book.SaveAs(dir / "x.xlsx"), SpreadsheetError);  // no workbook
    book.NewWorkbook();
    book.AddSheet().Range("A1").SetValue(1);
    try {
        book.SaveAs(dir / "missing" / "x.xlsx");
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const SpreadsheetError& error) {
        EXPECT_NE(std::string(error.what()).find("x.xlsx"), std::string::npos) << error.what();
    }
    // A failed save keeps the file that was there and leaves no temporary file.
    fs::path target = dir / "keep.xlsx";
    std::ofstream(target) << "old";
    book.ActiveSheet().Range("A2").SetValue(std::string(40000, 'x'));  // longer than a cell holds
    EXPECT_THROW(book.SaveAs(target), SpreadsheetError);
    std::stringstream kept;
    kept << std::ifstream(target).rdbuf();
    EXPECT_EQ(kept.str(), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    for (const char* content : {"", "not a zip", "PK\x03\x04garbage"}) {
        fs::path bad = dir / "bad.xlsx";
        std::ofstream(bad) << content;
        try {
            book.OpenWorkbook(bad);
            ADD_FAILURE() << "opened a bad file";
        } catch (const SpreadsheetError& error) {
            EXPECT_NE(std::string(error.what()).find("bad.xlsx"), std::string::npos);
        }
    }
    EXPECT_THROW(book.OpenWorkbook(dir / "none.xlsx"), SpreadsheetError);
}

TEST_F(XlsxFiles, ReplacingABookKeepsItsPermissions) {
    SpreadsheetSession book;
    book.NewWorkbook();
    book.AddSheet().Range("A1").SetValue(1);
    const fs::path target = dir / "private.xlsx";
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    book.SaveAs(target);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_GT(fs::file_size(target), 1000u);
}

}  // namespace
}  // namespace tarvosen::spreadsheet
