// The high-order book: layout, the tolerance checks with their strict
// comparisons and remarks, and the section summary.
#include <gtest/gtest.h>

#include "app/errors.h"
#include "levelling/checked_book.h"
#include "levelling/tolerance_classes.h"
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

struct Station {
    double b1 = 1.5, b2 = 1.5, f1 = 1.3, f2 = 1.3;
    double db1 = 20, db2 = 20, df1 = 20, df2 = 20;
};

// A line of the given stations from A, each measured back-fore-fore-back.
DiniLines Line(const std::vector<Station>& stations, const std::string& number = "1") {
    DiniLines d;
    d.start(number);
    d.height("A", 100);
    std::string back = "A";
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const Station& s = stations[i];
        const std::string fore = "P" + std::to_string(i + 1);
        d.station(back, fore, s.b1, s.b2, s.f1, s.f2, s.db1, s.db2, s.df1, s.df2, 100);
        back = fore;
    }
    d.end();
    return d;
}

struct CheckedRun : BookRun {
    explicit CheckedRun(const DiniLines& d, int levellingClass = 0,
                        std::optional<std::array<std::string, 5>> limits = std::nullopt) {
        SelectLevellingClass(t.options.get<ToleranceOptions>(), levellingClass);
        if (limits) t.options.get<ToleranceOptions>().limits = *limits;
        run(d, [](ss::SpreadsheetSession& session, CommandContext& ctx) {
            return std::make_unique<HighOrderBook>(session, ctx.user, ctx.options.get<ToleranceOptions>());
        });
    }
    ss::Sheet s() { return sheet("水准线1"); }
};

TEST(HighOrderBook, HeaderGroupsAndFormulas) {
    CheckedRun b(Line({Station{}, Station{}}), 1);
    const auto s = b.s();
    EXPECT_EQ(Text(s, "A1"), "二等电子水准测量记录手簿");
    EXPECT_EQ(Text(s, "D3"), "      温度:");
    EXPECT_EQ(Text(s, "H2"), "成像：");
    EXPECT_EQ(Text(s, "F8"), "高差之差");
    EXPECT_DOUBLE_EQ(Put(s, "A9"), 1);
    EXPECT_DOUBLE_EQ(Put(s, "A13"), 2);
    // Back readings in D, E of row r, fore readings on row r + 1; distances
    // of the first and second sight down columns B and C.
    EXPECT_DOUBLE_EQ(Put(s, "D9"), 1.5);
    EXPECT_DOUBLE_EQ(Put(s, "E10"), 1.3);
    EXPECT_DOUBLE_EQ(Put(s, "B10"), 20);
    EXPECT_EQ(FormulaOf(s, "F9"), "=(D9-E9)*1000");
    EXPECT_EQ(FormulaOf(s, "F10"), "=(D10-E10)*1000");
    EXPECT_EQ(FormulaOf(s, "B11"), "=(B9+B10)/2");
    EXPECT_EQ(FormulaOf(s, "C11"), "=(C9+C10)/2");
    EXPECT_EQ(FormulaOf(s, "D11"), "=(D9-D10)");
    EXPECT_EQ(FormulaOf(s, "F11"), "=(F9-F10)");
    EXPECT_EQ(FormulaOf(s, "G11"), "=(D11+E11)/2");
    EXPECT_EQ(FormulaOf(s, "B12"), "=B11-C11");
    EXPECT_EQ(FormulaOf(s, "C12"), "=B12");
    EXPECT_EQ(FormulaOf(s, "F12"), "=(D11-E11)*1000");
    EXPECT_EQ(FormulaOf(s, "C16"), "=B16+C12");
    EXPECT_NEAR(Number(s, "G15"), 0.2, 1e-12);
    EXPECT_EQ(Text(s, "H9"), "");  // no check exceeded
}

TEST(HighOrderBook, TwoReadingsOfOneStaff) {
    Station pass, fail;
    pass.b1 = 1.52340, pass.b2 = 1.52360;  // -0.2 mm under 0.3 mm
    fail.b1 = 1.52340, fail.b2 = 1.52380;  // -0.4 mm
    fail.f1 = 1.30000, fail.f2 = 1.30040;  // the same on the fore staff: no height-difference error
    CheckedRun b(Line({pass, fail}));
    const auto s = b.s();
    EXPECT_NEAR(Number(s, "F9"), -0.2, 1e-9);
    EXPECT_EQ(Text(s, "H9"), "");
    EXPECT_NEAR(Number(s, "F13"), -0.4, 1e-9);
    EXPECT_EQ(Text(s, "H13"), "两次读数差超限");
}

TEST(HighOrderBook, SightDifferenceDependsOnTheClass) {
    Station s0;
    s0.db1 = s0.db2 = 20.6;  // back mean exceeds the fore mean by 0.6 m
    CheckedRun first(Line({s0, Station{}}), 0);
    EXPECT_NEAR(Number(first.s(), "B12"), 0.6, 1e-9);
    EXPECT_EQ(Text(first.s(), "H9"), "视距差超限");
    CheckedRun second(Line({s0, Station{}}), 1);
    EXPECT_EQ(Text(second.s(), "H9"), "");
}

TEST(HighOrderBook, AccumulatedDifferenceIsBoundedEitherWayAndLimitsAreStrict) {
    // Sight differences of exactly 2 m pass a 2 m limit; their accumulation
    // is bounded by 1.5 m in size, negative or positive.
    const std::array<std::string, 5> limits{"30", "2", "1.5", "0.3", "0.4"};
    Station minus, plus, equal;
    minus.df1 = minus.df2 = 22;  // -2.0 m
    plus.db1 = plus.db2 = 22;    // +2.0 m
    equal.db1 = equal.db2 = 30;  // a sight of exactly 30 m
    equal.df1 = equal.df2 = 30;
    CheckedRun b(Line({minus, plus, plus, equal}), 0, limits);
    const auto s = b.s();
    EXPECT_NEAR(Number(s, "C12"), -2.0, 1e-9);
    EXPECT_EQ(Text(s, "H9"), "累积差超限");
    EXPECT_NEAR(Number(s, "C16"), 0.0, 1e-9);
    EXPECT_EQ(Text(s, "H13"), "");
    EXPECT_NEAR(Number(s, "C20"), 2.0, 1e-9);
    EXPECT_EQ(Text(s, "H17"), "累积差超限");
    EXPECT_EQ(Text(s, "H21"), "累积差超限");  // accumulated 2.0, the 30 m sights pass
}

TEST(HighOrderBook, RemarkNamesTheLastExceededCheck) {
    Station both;
    both.b1 = 1.52340, both.b2 = 1.52380;  // readings differ by 0.4 mm
    both.db1 = 31;                         // and a sight is longer than 30 m
    both.df1 = 31;
    CheckedRun b(Line({both, Station{}}));
    EXPECT_EQ(Text(b.s(), "H9"), "视线长超限");
}

TEST(HighOrderBook, SectionSummaryHoldsTheSums) {
    Station a, c, e;
    a.db1 = 10, c.db1 = 11, e.db1 = 12;
    a.b1 = 1.1, c.b1 = 1.2, e.b1 = 1.3;
    a.b2 = 1.1, c.b2 = 1.2, e.b2 = 1.3;
    CheckedRun b(Line({a, c, e}));
    const auto s = b.s();
    // Stations on rows 9, 13, 17; the summary on the end point's group, row 21.
    EXPECT_EQ(Text(s, "A21"), "测段小结");
    EXPECT_NEAR(Number(s, "B21"), 33, 1e-9);
    EXPECT_NEAR(Number(s, "C21"), 60, 1e-9);
    EXPECT_NEAR(Number(s, "D21"), 3.6, 1e-9);
    EXPECT_NEAR(Number(s, "D22"), 3.9, 1e-9);
    EXPECT_EQ(FormulaOf(s, "F21"), "=(D21-E21)*1000");
    EXPECT_NEAR(Number(s, "B23"), (33 + 60) / 2.0, 1e-9);
    EXPECT_NEAR(Number(s, "G23"), (3.6 - 3.9 + 3.6 - 3.9) / 2, 1e-9);
    EXPECT_EQ(Text(s, "C24"), "");  // no accumulated difference, no check
}

// Stations read once: told apart by their readings in an aBF line without
// height lines (every other station starts with the fore staff), and by the
// height line in a BFFB line that has one such station among double ones.
TEST(HighOrderBook, StationsReadOnceOnEachStaff) {
    DiniLines alternate;
    alternate.start("1", "aBF");
    alternate.height("A", 0);
    alternate.sight("Rb", "A", 1.5, 10);
    alternate.sight("Rf", "P1", 1.2, 12);
    alternate.sight("Rf", "P2", 1.1, 14);
    alternate.sight("Rb", "P1", 1.4, 16);
    alternate.end();
    CheckedRun b(alternate);
    const auto s = b.s();
    EXPECT_NEAR(Number(s, "G11"), 0.3, 1e-12);
    EXPECT_NEAR(Number(s, "G15"), 0.3, 1e-12);
    EXPECT_NEAR(Number(s, "B15"), 16, 1e-12);  // the one back distance is the mean
    for (const char* cell : {"F9", "F10", "F11", "E11", "F12", "E13", "E14", "E17", "E18"})
        EXPECT_EQ(FormulaOf(s, cell) + Text(s, cell), "") << cell;
    EXPECT_EQ(Text(s, "A17"), "测段小结");
    EXPECT_NEAR(Number(s, "G19"), 0.6, 1e-12);
    EXPECT_NEAR(Number(s, "B19"), 26, 1e-12);

    DiniLines mixed = Line({Station{}});
    mixed.lines.pop_back();  // the End-Line
    mixed.sight("Rb", "P1", 1.4, 30);
    mixed.sight("Rf", "P2", 1.0, 10);
    mixed.height("P2", 100);
    CheckedRun m(mixed, 0, std::array<std::string, 5>{"30", "100", "100", "0.3", "0.4"});
    const auto t = m.s();
    EXPECT_NEAR(Number(t, "G15"), 0.4, 1e-12);
    EXPECT_EQ(Text(t, "H13"), "");  // no two-reading check, no mark
    // The summary means: double station (1.5, 1.3 at 20 m) plus single (1.4, 1.0).
    EXPECT_NEAR(Number(t, "G19"), 0.2 + 0.4, 1e-12);
    EXPECT_NEAR(Number(t, "B19"), 20 + 30, 1e-12);
}

TEST(HighOrderBook, LimitThatIsNotANumberStopsAtTheFirstCheck) {
    const std::array<std::string, 5> limits{"30", "0.5", "1.5", "abc", "0.4"};
    EXPECT_THROW(CheckedRun(Line({Station{}, Station{}}), 0, limits), ConversionError);
    // A line with no station to check reads no limit.
    CheckedRun start(Line({}), 0, limits);
    EXPECT_EQ(start.outcome, ReadOutcome::Read);
}

}  // namespace
}  // namespace tarvosen::levelling
