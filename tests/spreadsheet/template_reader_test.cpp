// Opening .xlsx files as other programs write them: shared formulas, shared
// and inline strings, rich text, typed cells, cells without addresses, print
// titles, formulas we cannot compute, and damaged files; small files that
// would unpack or build into far more than a template holds.

#include <gtest/gtest.h>
#include <minizip/zip.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "spreadsheet/spreadsheet_session.h"
#include "spreadsheet/workbook.h"

namespace tarvosen::spreadsheet {
namespace {

namespace fs = std::filesystem;

void WriteZip(const fs::path& path, const std::map<std::string, std::string>& parts) {
    zipFile zip = zipOpen(path.string().c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (auto& [name, content] : parts) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, Z_DEFAULT_COMPRESSION),
                  ZIP_OK);
        zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

const char* kWorkbook = R"(<?xml version="1.0" encoding="UTF-8"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
 xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<bookViews><workbookView activeTab="1"/></bookViews>
<sheets><sheet name="Data" sheetId="1" r:id="rId1"/><sheet name="记录" sheetId="2" r:id="rId2"/></sheets>
<definedNames><definedName name="_xlnm.Print_Titles" localSheetId="1">'记录'!$A:$A,'记录'!$1:$3</definedName></definedNames>
</workbook>)";

const char* kRels = R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>
</Relationships>)";

const char* kStrings = R"(<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<si><t>plain</t></si><si><r><t>rich </t></r><r><rPr><b/></rPr><t>text</t></r></si>
</sst>)";

const char* kStyles = R"(<?xml version="1.0" encoding="UTF-8"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts><numFmt numFmtId="164" formatCode="0.0000"/></numFmts>
<fonts><font><sz val="12"/><name val="宋体"/></font><font><u/><sz val="10"/><color rgb="FFFF0000"/><name val="楷体_GB2312"/></font></fonts>
<fills><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>
<borders><border/><border><left style="medium"/><right style="hair"/><top style="double"/><bottom/></border></borders>
<cellXfs><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/>
<xf numFmtId="164" fontId="1" fillId="0" borderId="1"><alignment horizontal="center" vertical="center" wrapText="1"/></xf>
<xf numFmtId="2" fontId="0" fillId="0" borderId="0"/></cellXfs>
</styleSheet>)";

// Sheet 1: typed cells, a shared formula over B1:B3, cells without r.
const char* kSheet1 = R"(<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<sheetData>
<row r="1"><c r="A1"><v>10</v></c><c r="B1"><f t="shared" ref="B1:B3" si="0">A1*2</f><v>20</v></c><c r="C1" t="s"><v>1</v></c></row>
<row r="2"><c r="A2"><v>11</v></c><c r="B2"><f t="shared" si="0"/><v>22</v></c><c r="C2" t="inlineStr"><is><t>inline</t></is></c></row>
<row r="3"><c r="A3"><v>12</v></c><c r="B3"><f t="shared" si="0"/><v>24</v></c><c r="C3" t="b"><v>1</v></c></row>
<row><c><v>1</v></c><c><v>2</v></c><c t="e"><v>#N/A</v></c></row>
<row r="6"><c r="A6"><f>VLOOKUP(A1,A1:B3,2,FALSE)</f><v>20</v></c><c r="B6"><f>[1]Other!A1</f><v>7</v></c><c r="C6" t="str"><f>C1&amp;"!"</f><v>rich text!</v></c></row>
</sheetData>
</worksheet>)";

// Sheet 2: styles, sizes, merges, hidden gridlines.
const char* kSheet2 = R"(<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<sheetViews><sheetView showGridLines="false" workbookViewId="0"/></sheetViews>
<cols><col min="1" max="3" width="9.5" customWidth="1"/><col min="4" max="1024" width="8" customWidth="false"/></cols>
<sheetData>
<row r="1" ht="28" customHeight="1"><c r="A1" s="1" t="s"><v>0</v></c><c r="B1" s="1"/></row>
<row r="2" ht="15" customHeight="false"><c r="A2" s="2"><v>1.5</v></c><c r="B2"><f>Data!A1+A2</f></c></row>
</sheetData>
<mergeCells count="1"><mergeCell ref="A1:C1"/></mergeCells>
</worksheet>)";

class TemplateReader : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tarvosen_template_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path Make(std::map<std::string, std::string> parts) {
        fs::path file = dir / "template.xlsx";
        fs::remove(file);
        WriteZip(file, parts);
        return file;
    }
    std::map<std::string, std::string> Parts() {
        return {{"xl/workbook.xml", kWorkbook},        {"xl/_rels/workbook.xml.rels", kRels},
                {"xl/sharedStrings.xml", kStrings},    {"xl/styles.xml", kStyles},
                {"xl/worksheets/sheet1.xml", kSheet1}, {"xl/worksheets/sheet2.xml", kSheet2}};
    }
    // Opening the parts must fail with a message naming the file and `what`.
    void ExpectRefused(std::map<std::string, std::string> parts, const std::string& what) {
        SpreadsheetSession book;
        try {
            book.OpenWorkbook(Make(std::move(parts)));
            ADD_FAILURE() << "opened a file with " << what;
        } catch (const SpreadsheetError& error) {
            EXPECT_NE(std::string(error.what()).find(what), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("template.xlsx"), std::string::npos);
        }
        EXPECT_FALSE(book.HasWorkbook());
    }
    // The parts of a one-sheet workbook with this sheet data.
    static std::map<std::string, std::string> OneSheet(const std::string& sheetData) {
        return {{"xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" "
                                    "r:id=\"rId1\"/></sheets></workbook>"},
                {"xl/_rels/workbook.xml.rels", kRels},
                {"xl/worksheets/sheet1.xml", "<worksheet>" + sheetData + "</worksheet>"}};
    }
    fs::path dir;
};

TEST_F(TemplateReader, ReadsCellsAndFormulasAsOtherProgramsWriteThem) {
    SpreadsheetSession book;
    book.OpenWorkbook(Make(Parts()));
    ASSERT_EQ(book.SheetCount(), 2);
    EXPECT_EQ(book.ActiveSheet().Name(), "记录");
    Sheet data = book.SheetAt(0);
    EXPECT_EQ(data.Range("B3").Formula(), "=A3*2");  // from the shared formula
    data.Range("A3").SetValue(100);
    EXPECT_DOUBLE_EQ(data.Range("B3").Value2(), 200);
    EXPECT_EQ(data.Range("C1").ValueText(), "rich text");
    EXPECT_EQ(data.Range("C2").ValueText(), "inline");
    EXPECT_EQ(data.Range("C3").Value(), CellValue(true));
    EXPECT_EQ(data.Range("B4").Value(), CellValue(2.0));  // cells without addresses follow on
    EXPECT_EQ(data.Range("C4").ValueText(), "#N/A");
    // Formulas we cannot compute keep the result the file holds.
    EXPECT_EQ(data.Range("A6").Formula(), "=VLOOKUP(A1,A1:B3,2,FALSE)");
    EXPECT_DOUBLE_EQ(data.Range("A6").Value2(), 20);
    EXPECT_EQ(data.Range("B6").Formula(), "=[1]Other!A1");
    EXPECT_DOUBLE_EQ(data.Range("B6").Value2(), 7);
    EXPECT_EQ(data.Range("C6").ValueText(), "rich text!");
    // A formula reading another sheet.
    EXPECT_DOUBLE_EQ(book.SheetAt(1).Range("B2").Value2(), 11.5);
    book.SaveAs(dir / "again.xlsx");
}

TEST_F(TemplateReader, ReadsStylesSizesMergesAndViews) {
    SpreadsheetSession book;
    book.OpenWorkbook(Make(Parts()));
    Workbook& engine = book.Engine();
    const SheetData& sheet = *engine.sheets[1];
    const Style& a1 = engine.styles.Get(sheet.Find(1, 1)->style);
    EXPECT_EQ(a1.fontName, "楷体_GB2312");
    EXPECT_EQ(a1.fontSize, 10);
    EXPECT_EQ(a1.fontRgb, 0xFF0000u);
    EXPECT_EQ(a1.underline, Underline::Single);
    EXPECT_EQ(a1.numberFormat, "0.0000");
    EXPECT_EQ(a1.horizontal, HorizontalAlignment::Center);
    EXPECT_EQ(a1.vertical, VerticalAlignment::Center);
    EXPECT_TRUE(a1.wrap);
    EXPECT_EQ(a1.border[kLeft], BorderWeight::Medium);
    EXPECT_EQ(a1.border[kRight], BorderWeight::Thin);
    EXPECT_EQ(a1.border[kTop], BorderWeight::Thick);
    EXPECT_EQ(a1.border[kBottom], BorderWeight::None);
    EXPECT_EQ(engine.styles.Get(sheet.Find(2, 1)->style).numberFormat, "0.00");
    // The template's default font is the workbook's default style.
    EXPECT_EQ(engine.styles.Get(0).fontName, "宋体");
    EXPECT_EQ(sheet.merges, (std::vector<CellRect>{{1, 1, 1, 3}}));
    EXPECT_EQ(sheet.rowHeights, (std::map<int, double>{{1, 28}}));
    EXPECT_EQ(sheet.columnWidths, (std::map<int, double>{{1, 9.5}, {2, 9.5}, {3, 9.5}}));
    EXPECT_FALSE(sheet.showGridlines);
    EXPECT_TRUE(engine.sheets[0]->showGridlines);
    EXPECT_EQ(sheet.printTitleFirstRow, 1);
    EXPECT_EQ(sheet.printTitleLastRow, 3);
}

TEST_F(TemplateReader, RefusesDamagedFilesNamingThePart) {
    auto expectRefused = [&](std::map<std::string, std::string> parts, const std::string& part) {
        ExpectRefused(std::move(parts), part);
    };
    auto parts = Parts();
    parts.erase("xl/workbook.xml");
    expectRefused(parts, "xl/workbook.xml");
    parts = Parts();
    parts["xl/worksheets/sheet1.xml"] = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"";
    expectRefused(parts, "xl/worksheets/sheet1.xml");
    parts = Parts();
    parts["xl/worksheets/sheet1.xml"] =
        "<worksheet><sheetData><row r=\"1\"><c r=\"1A\"><v>1</v></c></row></sheetData></worksheet>";
    expectRefused(parts, "1A");
    parts = Parts();
    parts["xl/worksheets/sheet1.xml"] =
        "<worksheet><sheetData><row r=\"2000000\"><c><v>1</v></c></row></sheetData></worksheet>";
    expectRefused(parts, "2000000");
    parts = Parts();
    parts["xl/workbook.xml"] = std::string(kWorkbook).replace(
        std::string(kWorkbook).find("name=\"Data\""), 11, "name=\"记录\"");
    expectRefused(parts, "记录");
}

TEST_F(TemplateReader, RefusesFilesThatAreNoTemplateAFormProgramsWrite) {
    auto parts = Parts();
    parts["xl/worksheets/sheet1.xml"] =
        "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"A1\"><v>2</v></c>"
        "</row></sheetData></worksheet>";
    ExpectRefused(parts, "cell A1 is given twice");
    parts = Parts();
    parts["xl/worksheets/sheet1.xml"] = "<worksheet><sheetData><row r=\"1\"><c r=\"A1\" "
                                        "t=\"inlineStr\"><is><t>" +
                                        std::string(32768, 'x') +
                                        "</t></is></c></row></sheetData></worksheet>";
    ExpectRefused(parts, "cell A1 holds more than 32767 characters");
    // Names that could not be saved again.
    parts = Parts();
    parts["xl/workbook.xml"] = std::string(kWorkbook).replace(
        std::string(kWorkbook).find("name=\"Data\""), 11, "name=\"a:b\"");
    ExpectRefused(parts, "\"a:b\" must not contain");
    std::string sheets;
    for (int i = 0; i < 256; ++i)
        sheets += "<sheet name=\"S" + std::to_string(i) + "\" r:id=\"rId1\"/>";
    parts = Parts();
    parts["xl/workbook.xml"] = "<workbook xmlns:r=\"r\"><sheets>" + sheets + "</sheets></workbook>";
    ExpectRefused(parts, "more than 255 sheets");
}

// A zip declaring `declared` bytes for `name` holding only an empty deflate
// stream, besides the parts of a one-sheet workbook.
void WriteZipDeclaring(const fs::path& path, const std::string& name, std::uint64_t declared) {
    zipFile zip = zipOpen(path.string().c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    zip_fileinfo info{};
    ASSERT_EQ(zipOpenNewFileInZip2(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                   Z_DEFLATED, Z_DEFAULT_COMPRESSION, 1),
              ZIP_OK);
    const char emptyStream[] = {0x03, 0x00};
    zipWriteInFileInZip(zip, emptyStream, sizeof emptyStream);
    zipCloseFileInZipRaw64(zip, declared, 0);
    zipClose(zip, nullptr);
}

TEST_F(TemplateReader, RefusesZipBombsBeforeUnpackingThem) {
    // Declared sizes are checked before anything is unpacked or reserved...
    const fs::path file = dir / "template.xlsx";
    WriteZipDeclaring(file, "xl/workbook.xml", 3'000'000'000u);
    SpreadsheetSession book;
    try {
        book.OpenWorkbook(file);
        ADD_FAILURE() << "opened a zip bomb";
    } catch (const SpreadsheetError& error) {
        EXPECT_NE(std::string(error.what()).find("xl/workbook.xml unpacks to 3000000000 bytes"),
                  std::string::npos)
            << error.what();
    }
    // ... and one that lies is damaged, not trusted.
    fs::remove(file);
    WriteZipDeclaring(file, "xl/workbook.xml", 20'000'000u);
    EXPECT_THROW(book.OpenWorkbook(file), SpreadsheetError);

    // 12 MB of blanks pack into a few kilobytes; three sheets reading them
    // make 36 MB, more than a template may unpack to.
    auto parts = OneSheet(std::string(12 << 20, ' '));
    parts["xl/workbook.xml"] =
        "<workbook xmlns:r=\"r\"><sheets><sheet name=\"A\" r:id=\"rId1\"/><sheet name=\"B\" "
        "r:id=\"rId1\"/><sheet name=\"C\" r:id=\"rId1\"/></sheets></workbook>";
    ExpectRefused(parts, "xl/worksheets/sheet1.xml unpacks to");
}

TEST_F(TemplateReader, RefusesSmallFilesThatWouldBuildHugeWorkbooks) {
    const std::string tooLarge = "the workbook would take more than the 64 MB a template may";
    // A cell in the last column makes its row 16,384 cells wide.
    std::string rows;
    for (int row = 1; row <= 100; ++row)
        rows += "<row><c r=\"XFD" + std::to_string(row) + "\"/></row>";
    ExpectRefused(OneSheet("<sheetData>" + rows + "</sheetData>"), tooLarge);
    // So does a formula reading such cells.
    std::string sum = "XFD1";
    for (int row = 2; row <= 100; ++row) sum += "+XFD" + std::to_string(row * 1000);
    ExpectRefused(OneSheet("<sheetData><row r=\"1\"><c r=\"A1\"><f>" + sum +
                           "</f></c></row></sheetData>"),
                  tooLarge);
    // Each copy of a shared formula links itself into the 1,000 cells it reads.
    rows = "<row><c r=\"A1\"><f t=\"shared\" si=\"0\">SUM(B1:AM26)</f></c></row>";
    for (int row = 2; row <= 5000; ++row) rows += "<row><c><f t=\"shared\" si=\"0\"/></c></row>";
    ExpectRefused(OneSheet("<sheetData>" + rows + "</sheetData>"), tooLarge);
    // Each shared string is copied into its cells.
    std::string cells;
    for (int column = 0; column < 3000; ++column) cells += "<c t=\"s\"><v>0</v></c>";
    auto parts = OneSheet("<sheetData><row>" + cells + "</row></sheetData>");
    parts["xl/sharedStrings.xml"] = "<sst><si><t>" + std::string(32000, 'x') + "</t></si></sst>";
    ExpectRefused(parts, tooLarge);
    // Each column range sets up to 1,024 column widths.
    std::string columns;
    for (int i = 0; i < 2000; ++i)
        columns += "<col min=\"1\" max=\"16384\" width=\"3\" customWidth=\"1\"/>";
    ExpectRefused(OneSheet("<cols>" + columns + "</cols>"), tooLarge);
    // Formulas that would read 100 million cells to compute.
    rows = "<row><c r=\"CV1\"><v>1</v></c>"
           "<c><f t=\"shared\" si=\"0\">SUM($A$1:$CV$1000)</f></c></row>";
    for (int row = 2; row <= 1000; ++row)
        rows += "<row><c r=\"CV" + std::to_string(row) +
                "\"><v>1</v></c><c><f t=\"shared\" si=\"0\"/></c></row>";
    ExpectRefused(OneSheet("<sheetData>" + rows + "</sheetData>"), "cells to compute");
}

TEST_F(TemplateReader, FormulasFollowCellsReadAfterThemAndLaterWrites) {
    // B1 reads a large area (listened to as a whole) and A2 (linked), both
    // filled only after B1 in the file.
    SpreadsheetSession book;
    book.OpenWorkbook(Make(OneSheet(
        "<sheetData><row r=\"1\"><c r=\"B1\"><f>SUM(A1:A5000)+A2</f></c></row>"
        "<row r=\"2\"><c r=\"A2\"><v>2</v></c></row><row r=\"4000\"><c r=\"A4000\"><v>3</v>"
        "</c></row></sheetData>")));
    Sheet sheet = book.ActiveSheet();
    EXPECT_DOUBLE_EQ(sheet.Range("B1").Value2(), 7);
    sheet.Range("A4000").SetValue(10);
    EXPECT_DOUBLE_EQ(sheet.Range("B1").Value2(), 14);
    sheet.Range("A2").SetValue(0);
    EXPECT_DOUBLE_EQ(sheet.Range("B1").Value2(), 10);
}

}  // namespace
}  // namespace tarvosen::spreadsheet
