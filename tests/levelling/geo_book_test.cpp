// The geological-institute book: sets of a forward and a return run, rows
// that advance after two readings on each staff, the summary and the
// intermediate sights.
#include <gtest/gtest.h>

#include "levelling/geo_book.h"
#include "tests/levelling/book_fixture.h"
#include "levelling/levelling_options.h"

namespace tarvosen::levelling {
namespace {

using test::BookRun;
using test::DiniLines;
using test::FormulaOf;
using test::Number;
using test::Put;
using test::Text;

struct GeoRun : BookRun {
    explicit GeoRun(const DiniLines& d) {
        t.options.get<GeoBookOptions>().observer = "王工";
        t.options.get<GeoBookOptions>().weather = "晴";
        t.options.get<GeoBookOptions>().windDirection = "=NE";  // a typed text is never a formula
        t.options.get<GeoBookOptions>().windForce = "3";
        t.options.get<GeoBookOptions>().instrument = "701197";
        t.options.get<GeoBookOptions>().date = std::chrono::year{2024} / 6 / 24;
        run(d, [](ss::SpreadsheetSession& session, CommandContext& ctx) {
            return std::make_unique<GeoInstituteBook>(session, ctx.user, ctx.options.get<GeoBookOptions>());
        });
    }
};

// Back 1, fore 1, fore 2, back 2 at each station; "F" marks the return run.
void Station(DiniLines& d, const std::string& back, const std::string& fore, double b, double f,
             const std::string& mark = "", bool height = true) {
    d.sight("Rb", back, b, 20.0, mark, "07:01:001");
    d.sight("Rf", fore, f, 21.0, mark, "07:02:001");
    d.sight("Rf", fore, f + 0.0001, 21.2, mark, "07:03:001");
    d.sight("Rb", back, b + 0.0002, 20.2, mark, "07:04:001");
    if (height) d.height(fore, 0);
}

TEST(GeoInstituteBook, ForwardRunHeaderAndSummary) {
    DiniLines d;
    d.start("3");
    d.height("BM1", 50);
    Station(d, "BM1", "T1", 1.5, 1.2);
    Station(d, "T1", "BM2", 1.4, 1.6);
    d.end();
    GeoRun b(d);
    const auto s = b.sheet("水准线3");
    EXPECT_EQ(Text(s, "A1"), "电子水准测量记录手簿");
    EXPECT_EQ(Text(s, "A9"), std::string(117, '*'));
    EXPECT_EQ(Text(s, "J10"), "高　差  （m）");
    EXPECT_EQ(Text(s, "F10"), "中　丝　读　数");
    EXPECT_EQ(Text(s, "C3"), "一等");
    EXPECT_EQ(Text(s, "B8"), "王工");
    EXPECT_EQ(Text(s, "E7"), "=NE");
    EXPECT_DOUBLE_EQ(Put(s, "J8"), 701197);
    EXPECT_DOUBLE_EQ(Put(s, "D5"), 2024);
    EXPECT_DOUBLE_EQ(Put(s, "F5"), 6);
    EXPECT_DOUBLE_EQ(Put(s, "H5"), 24);
    EXPECT_EQ(Text(s, "D4"), "BM1");
    EXPECT_EQ(Text(s, "E6"), "07:01");
    EXPECT_EQ(Text(s, "G4"), "BM2");
    EXPECT_EQ(Text(s, "H6"), "07:04");
    EXPECT_EQ(Text(s, "G3"), "W");

    // Station 1 on row 12: back set B, C, F, G; fore set D, E, H, I.
    EXPECT_DOUBLE_EQ(Put(s, "A12"), 1);
    EXPECT_DOUBLE_EQ(Put(s, "B12"), 20.0);
    EXPECT_DOUBLE_EQ(Put(s, "C12"), 20.2);
    EXPECT_DOUBLE_EQ(Put(s, "D12"), 21.0);
    EXPECT_DOUBLE_EQ(Put(s, "E12"), 21.2);
    EXPECT_DOUBLE_EQ(Put(s, "F12"), 1.5);
    EXPECT_DOUBLE_EQ(Put(s, "G12"), 1.5002);
    EXPECT_DOUBLE_EQ(Put(s, "H12"), 1.2);
    EXPECT_DOUBLE_EQ(Put(s, "I12"), 1.2001);
    EXPECT_DOUBLE_EQ(Put(s, "A13"), 2);
    EXPECT_EQ(FormulaOf(s, "J12"), "=(F12+G12)/2-(H12+I12)/2");
    EXPECT_EQ(FormulaOf(s, "J13"), "=(F13+G13)/2-(H13+I13)/2");
    // n = 2: asterisks on row 14, the summary on row 15.
    EXPECT_EQ(Text(s, "A14"), std::string(117, '*'));
    EXPECT_EQ(Text(s, "A15"), "测段小结");
    EXPECT_EQ(Text(s, "E15"), "∑S");
    EXPECT_EQ(FormulaOf(s, "F15"), "=SUM(B12:E13)/2");  // shown upper case
    EXPECT_EQ(FormulaOf(s, "I15"), "=SUM(J12:J13)");
    EXPECT_EQ(Text(s, "A17"), "");  // no intermediate sights, nothing below
    EXPECT_NEAR(Number(s, "F15"), 2 * ((20.0 + 20.2) / 2 + (21.0 + 21.2) / 2), 1e-9);
    EXPECT_NEAR(Number(s, "I15"), 0.30005 - 0.19995, 1e-12);
}

TEST(GeoInstituteBook, ReturnRunFillsTheOppositeSets) {
    DiniLines d;
    d.start("4");
    d.height("BM2", 50);
    Station(d, "BM2", "T1", 1.6, 1.4, "    F");
    d.end();
    GeoRun b(d);
    const auto s = b.sheet("水准线4");
    EXPECT_EQ(Text(s, "G3"), "F");
    // The return run's backsights go to the fore set and its foresights to
    // the back set.
    EXPECT_DOUBLE_EQ(Put(s, "F12"), 1.4);
    EXPECT_DOUBLE_EQ(Put(s, "G12"), 1.4001);
    EXPECT_DOUBLE_EQ(Put(s, "H12"), 1.6);
    EXPECT_DOUBLE_EQ(Put(s, "B12"), 21.0);
    EXPECT_DOUBLE_EQ(Put(s, "D12"), 20.0);
}

TEST(GeoInstituteBook, RowsAdvanceAfterTwoReadingsOnEachStaff) {
    DiniLines d;
    d.start("1");
    d.sight("Rb", "A", 1.1, 10);
    d.sight("Rf", "B", 1.2, 11);
    d.sight("Rb", "A", 1.3, 12);  // one reading per staff: still row 12
    d.sight("Rb", "A", 1.4, 13);  // a third back-set reading is left out
    d.sight("Rf", "B", 1.5, 14);
    d.end();  // no line after the last reading: the row stays a station
    GeoRun b(d);
    const auto s = b.sheet("水准线1");
    EXPECT_DOUBLE_EQ(Put(s, "F12"), 1.1);
    EXPECT_DOUBLE_EQ(Put(s, "G12"), 1.3);
    EXPECT_DOUBLE_EQ(Put(s, "H12"), 1.2);
    EXPECT_DOUBLE_EQ(Put(s, "I12"), 1.5);
    EXPECT_EQ(FormulaOf(s, "J12"), "=(F12+G12)/2-(H12+I12)/2");
    EXPECT_EQ(Text(s, "A13"), std::string(117, '*'));
    EXPECT_EQ(Text(s, "A14"), "测段小结");
    EXPECT_EQ(b.t.user.texts(MessageKind::Warning),
              std::vector<std::string>{
                  "NONAME.TXT, sheet 水准线1: left out observation line 5 (a third reading of one staff at a "
                  "station)."});
}

TEST(GeoInstituteBook, IntermediateSightsOfEachLine) {
    DiniLines d;
    d.start("1");
    d.height("BM1", 0);
    Station(d, "BM1", "T1", 1.5, 1.2);
    d.sight("Rz", "Z1", 1.0, 5);  // from station 1
    Station(d, "T1", "T2", 1.4, 1.6);
    d.sight("Rz", "Z2", 0.9, 5);  // from station 2
    d.end();
    d.start("2");
    d.height("BM3", 0);
    Station(d, "BM3", "T9", 1.5, 1.5);
    d.end();
    GeoRun b(d);
    const auto s = b.sheet("水准线1");
    // n = 2: header of the list on row 17, the sights on rows 18 and 19.
    EXPECT_EQ(Text(s, "A17"), "从");
    EXPECT_EQ(FormulaOf(s, "C17"), "=D4");
    EXPECT_EQ(Text(s, "H17"), "高　差");
    EXPECT_DOUBLE_EQ(Put(s, "A18"), 1);
    EXPECT_EQ(Text(s, "C18"), "Z1");
    EXPECT_DOUBLE_EQ(Put(s, "F18"), 1.0);
    EXPECT_DOUBLE_EQ(Put(s, "A19"), 2);
    EXPECT_EQ(Text(s, "C19"), "Z2");
    EXPECT_EQ(Text(b.sheet("水准线2"), "A17"), "");  // its own list, empty
    // Horizon of station 1 = mean back reading; of station 2 = its mean
    // back reading plus station 1's height difference.
    const double back1 = (1.5 + 1.5002) / 2, fore1 = (1.2 + 1.2001) / 2;
    const double back2 = (1.4 + 1.4002) / 2;
    EXPECT_NEAR(Number(s, "H18"), back1 - 1.0, 1e-12);
    EXPECT_NEAR(Number(s, "H19"), back2 + (back1 - fore1) - 0.9, 1e-12);
    EXPECT_FALSE(s.Range("H18").HasFormula());  // a plain number
}

}  // namespace
}  // namespace tarvosen::levelling
