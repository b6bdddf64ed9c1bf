// The surveying-institute book: header, three rows per set-up, formulas and
// the closing block, cell by cell.
#include <gtest/gtest.h>

#include "levelling/book_support.h"

#include "levelling/survey_book.h"
#include "tests/levelling/book_fixture.h"

namespace tarvosen::levelling {
namespace {

using test::BookRun;
using test::DiniLines;
using test::FormulaOf;
using test::Number;
using test::Put;
using test::Text;

auto MakeSurveyBook = [](ss::SpreadsheetSession& session, CommandContext& ctx) {
    return std::make_unique<SurveyInstituteBook>(session, ctx.user);
};

// A line A -> B -> C: start height, two set-ups measured back-fore-fore-back.
DiniLines TwoStationLine(const std::string& number = "5", const std::string& start = "A") {
    DiniLines d;
    d.start(number);
    d.height(start, 10.0);
    d.station(start, "B", 1.52340, 1.52360, 1.31000, 1.31030, 20.10, 20.20, 19.80, 19.90, 10.2134);
    d.station("B", "C", 1.40000, 1.40010, 1.50000, 1.49980, 25.00, 25.10, 26.00, 26.10, 10.1135);
    d.end();
    return d;
}

TEST(SurveyInstituteBook, HeaderAndStationRows) {
    BookRun b;
    b.run(TwoStationLine(), MakeSurveyBook);
    ASSERT_EQ(b.outcome, ReadOutcome::Read);
    const auto s = b.sheet("水准线5");
    EXPECT_EQ(Text(s, "D1"), "等电子水准测量记录手簿");
    EXPECT_EQ(Text(s, "B2") + Text(s, "F2"), "测至");
    EXPECT_EQ(Text(s, "J3"), "呈像");
    EXPECT_EQ(Text(s, "B4"), "DINI12");
    EXPECT_EQ(Text(s, "A5"), "测  站");
    EXPECT_EQ(Text(s, "E5"), "标尺读数");
    EXPECT_EQ(Text(s, "C7"), "前视1");
    EXPECT_EQ(Text(s, "D8"), "累计差(m)");

    // Set-up 1 on rows 9-11: first readings in C and E, second in D and F.
    EXPECT_DOUBLE_EQ(Put(s, "A9"), 1.0);
    EXPECT_EQ(Text(s, "B9"), "A");
    EXPECT_DOUBLE_EQ(Put(s, "I9"), 10.0);
    EXPECT_DOUBLE_EQ(Put(s, "C9"), 20.1);
    EXPECT_DOUBLE_EQ(Put(s, "D9"), 20.2);
    EXPECT_DOUBLE_EQ(Put(s, "E9"), 1.5234);
    EXPECT_DOUBLE_EQ(Put(s, "F9"), 1.5236);
    EXPECT_EQ(Text(s, "B10"), "B");
    EXPECT_DOUBLE_EQ(Put(s, "E10"), 1.31);
    EXPECT_DOUBLE_EQ(Put(s, "D10"), 19.9);
    // Set-up 2 and the end point's group 3 (rows 12 and 15).
    EXPECT_DOUBLE_EQ(Put(s, "A12"), 2.0);
    EXPECT_EQ(Text(s, "B12"), "B");
    EXPECT_DOUBLE_EQ(Put(s, "I12"), 10.2134);
    EXPECT_DOUBLE_EQ(Put(s, "A15"), 3.0);
    EXPECT_EQ(Text(s, "B15"), "C");

    EXPECT_EQ(FormulaOf(s, "G9"), "=(E9-F9)*1000");
    EXPECT_EQ(FormulaOf(s, "G10"), "=(E10-F10)*1000");
    EXPECT_EQ(FormulaOf(s, "G11"), "=(E11-F11)*1000");
    EXPECT_EQ(FormulaOf(s, "C11"), "=(C10-C9)");
    EXPECT_EQ(FormulaOf(s, "D11"), "=C11");
    EXPECT_EQ(FormulaOf(s, "D14"), "=SUM(C14+D11)");
    EXPECT_EQ(FormulaOf(s, "E11"), "=(E9-E10)");
    EXPECT_EQ(FormulaOf(s, "F14"), "=(F12-F13)");
    EXPECT_EQ(FormulaOf(s, "H13"), "=(E14+F14)/2");
    EXPECT_EQ(Text(s, "G15"), "");  // the end point's group gets no formulas

    // Closing block, n = 2.
    EXPECT_EQ(Text(s, "F16"), "高差总和");
    EXPECT_EQ(FormulaOf(s, "H16"), "=SUM(H10:H13)");
    EXPECT_EQ(Text(s, "A19") + Text(s, "B19") + Text(s, "C19") + Text(s, "D19") + Text(s, "E19"),
              "自A点至C距离");
    EXPECT_EQ(FormulaOf(s, "F19"), "=SUM(0+(C9+D9)/2+(C10+D10)/2+(C12+D12)/2+(C13+D13)/2)/1000");
    EXPECT_EQ(Text(s, "G19"), "km");
}

TEST(SurveyInstituteBook, FormulaValues) {
    BookRun b;
    b.run(TwoStationLine(), MakeSurveyBook);
    const auto s = b.sheet("水准线5");
    EXPECT_NEAR(Number(s, "G9"), -0.2, 1e-9);
    EXPECT_NEAR(Number(s, "C11"), 19.80 - 20.10, 1e-9);
    EXPECT_NEAR(Number(s, "D14"), (19.80 - 20.10) + (26.00 - 25.00), 1e-9);
    const double h1 = ((1.52340 - 1.31000) + (1.52360 - 1.31030)) / 2;
    const double h2 = ((1.40000 - 1.50000) + (1.40010 - 1.49980)) / 2;
    EXPECT_NEAR(Number(s, "H10"), h1, 1e-12);
    EXPECT_NEAR(Number(s, "H16"), h1 + h2, 1e-12);
    // The mean distances of each sight.
    EXPECT_NEAR(Number(s, "F19"), (20.15 + 19.85 + 25.05 + 26.05) / 1000, 1e-12);
}

TEST(SurveyInstituteBook, OneReadingPerStaffAndStartPointOnly) {
    BookRun b;
    DiniLines d;
    d.start("1");
    d.height("0012", 5.0);  // a point name of digits stays text
    d.sight("Rb", "0012", 1.5, 30);
    d.sight("Rf", "0013", 1.4, 30);
    d.height("0013", 5.1);
    d.start("2");
    d.height("K", 1.0);  // n = 0: rows 9-11 only, no closing block
    b.run(d, MakeSurveyBook);
    const auto s = b.sheet("水准线1");
    EXPECT_EQ(Text(s, "B9"), "0012");
    EXPECT_EQ(Text(s, "D9"), "");
    // Read once on each staff: no reading differences, and the height
    // difference is that of the one reading pair.
    for (const char* cell : {"G9", "G10", "F11", "G11"}) EXPECT_EQ(FormulaOf(s, cell), "") << cell;
    EXPECT_EQ(FormulaOf(s, "H10"), "=E11");
    EXPECT_EQ(Text(s, "B16"), "0012");
    EXPECT_EQ(Text(s, "D16"), "0013");
    const auto only = b.sheet("水准线2");
    EXPECT_DOUBLE_EQ(Put(only, "A9"), 1.0);
    EXPECT_EQ(Text(only, "G9"), "");
    EXPECT_EQ(Text(only, "F10"), "");
    EXPECT_EQ(Text(only, "A13"), "");
    EXPECT_NEAR(Number(s, "H13"), 0.1, 1e-12);
}

TEST(SurveyInstituteBook, EachLineHasItsSheetAndItsOwnAccumulation) {
    BookRun b;
    DiniLines d = TwoStationLine("1");
    DiniLines second = TwoStationLine("2", "C");
    d.lines.insert(d.lines.end(), second.lines.begin(), second.lines.end());
    DiniLines repeated = TwoStationLine("1", "Q");  // the same line number again
    d.lines.insert(d.lines.end(), repeated.lines.begin(), repeated.lines.end());
    b.run(d, MakeSurveyBook);
    EXPECT_TRUE(b.session.FindSheet("水准线1"));
    EXPECT_EQ(FormulaOf(b.sheet("水准线2"), "D11"), "=C11");
    EXPECT_EQ(Text(b.sheet("水准线2"), "B9"), "C");
    EXPECT_EQ(Text(b.sheet("水准线1 (2)"), "B9"), "Q");
}

TEST(SheetNames, RepeatedNamesAreNumberedOnWhateverTheCaseOfTheirLetters) {
    ss::SpreadsheetSession s;
    s.NewWorkbook();
    EXPECT_EQ(levelling::AddNamedSheet(s, "水准线A").Name(), "水准线A");
    EXPECT_EQ(levelling::AddNamedSheet(s, "水准线a").Name(), "水准线a (2)");
    EXPECT_EQ(levelling::AddNamedSheet(s, "水准线A").Name(), "水准线A (3)");
    EXPECT_EQ(levelling::AddNamedSheet(s, "水准线1:2").Name(), "水准线1_2");
    EXPECT_EQ(levelling::AddNamedSheet(s, "水准线1_2").Name(), "水准线1_2 (2)");
}

TEST(SurveyInstituteBook, SightsItCannotPlaceAreLeftOutAndNamed) {
    BookRun b;
    DiniLines d;
    d.start("1");
    d.sight("Rb", "A", 1.1, 10);  // line 2: before the first point height
    d.height("A", 0);
    d.sight("Rb", "A", 1.2, 11);
    d.sight("Rb", "A", 1.3, 12);
    d.sight("Rb", "A", 1.4, 13);           // line 6: a third reading of the back staff
    d.sight("Rb", "A", 1.1, 10, "#####");  // voided: skipped without a word
    b.run(d, MakeSurveyBook);
    const auto s = b.sheet("水准线1");
    EXPECT_EQ(Text(s, "C6"), "后距1");  // the header is never written over
    EXPECT_DOUBLE_EQ(Put(s, "E9"), 1.2);
    EXPECT_DOUBLE_EQ(Put(s, "F9"), 1.3);
    EXPECT_EQ(Text(s, "G9"), "");
    const auto warnings = b.t.user.texts(MessageKind::Warning);
    // The line stops with back readings only: that station has no height difference.
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[0],
              "NONAME.TXT, levelling line 1: the station from line 4 has readings of one staff only "
              "(the line was left there); it has no height difference.");
    EXPECT_EQ(warnings[1],
              "NONAME.TXT, sheet 水准线1: left out observation line 2 (before the line's first point height).");
    EXPECT_EQ(warnings[2],
              "NONAME.TXT, sheet 水准线1: left out observation line 6 (a third reading of one staff at a set-up).");
}

// 800 set-ups outgrow the longest formula: read once, the length is the
// column's sum less the sight-distance differences; read twice, it is
// written as the sum of the mean distances.
TEST(SurveyInstituteBook, LongLineLengthStaysWithinSpreadsheetLimits) {
    BookRun b;
    DiniLines d;
    const int n = 800;
    for (const bool readTwice : {false, true}) {
        d.start(readTwice ? "2" : "1", readTwice ? "BFFB" : "BF");
        d.height("P0", 0);
        for (int i = 0; i < n; ++i) {
            const std::string back = "P" + std::to_string(i), fore = "P" + std::to_string(i + 1);
            if (readTwice) {
                d.station(back, fore, 1.5, 1.5, 1.4, 1.4, 20 + i % 7, 20, 21, 22, 0.1 * (i + 1));
            } else {
                d.sight("Rb", back, 1.5, 20 + i % 7);
                d.sight("Rf", fore, 1.4, 21);
                d.height(fore, 0.1 * (i + 1));
            }
        }
        d.end();
    }
    b.run(d, MakeSurveyBook);
    const int row = 3 * n + 13;
    double once = 0, twice = 0;
    for (int i = 0; i < n; ++i) {
        once += (20 + i % 7) + 21;
        twice += (20 + i % 7 + 20) / 2.0 + (21 + 22) / 2.0;
    }
    const auto s1 = b.sheet("水准线1");
    EXPECT_EQ(s1.Cells(row, 6).Formula(), "=(SUM(C9:C2408)-D2408)/1000");
    EXPECT_NEAR(s1.Cells(row, 6).Value2(), once / 1000, 1e-9);
    const auto s2 = b.sheet("水准线2");
    EXPECT_NE(s2.Cells(row, 6).Formula().front(), '=');
    EXPECT_NEAR(s2.Cells(row, 6).Value2(), twice / 1000, 1e-9);
}

}  // namespace
}  // namespace tarvosen::levelling
