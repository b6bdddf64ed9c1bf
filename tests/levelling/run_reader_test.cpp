// The reading shared by the three books: markers, voided lines, the run
// state, the M5 check, and the tolerance classes of the high-order book.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/errors.h"
#include "levelling/m5_run_reader.h"
#include "levelling/tolerance_classes.h"
#include "tests/levelling/dini_lines.h"
#include "tests/support/test_context.h"
#include "levelling/levelling_options.h"

namespace tarvosen::levelling {
namespace {

using test::DiniLines;
using test::TestContext;

// Writes down what the reader hands to the book.
class RecordingBook : public RecordBook {
  public:
    void startSheet(const std::string& name, int) override { events.push_back("sheet " + name); }
    void observation(const ObservationLine& line) override {
        events.push_back(line.code[0] + " " + line.pointName);
    }
    void anyObservation(const ObservationLine& line) override { seen.push_back(line.pointName); }
    void endLine() override { events.push_back("end"); }
    void finish() override { events.push_back("finish"); }
    std::vector<std::string> events, seen;
};

struct Read {
    TestContext t;
    RecordingBook book;
    RunOutcome outcome{};
    explicit Read(const std::vector<std::string>& lines) {
        t.setLines(lines);
        outcome = ReadM5Run(t.ctx, t.workspace, book);
    }
};

TEST(ObservationLine, ColumnsAndKindsOfARealDiniLine) {
    // From the DiNi 03 corpus file: the time runs on into one more digit.
    const auto l = SplitObservationLine(
        "For M5|Adr     4|KD1       X1      05:49:361   1|Rb        1.43346 m   |"
        "HD          7.676 m   |                      |",
        4);
    EXPECT_EQ(l.pointName, "X1");
    EXPECT_EQ(l.clockTime, "05:49");
    EXPECT_EQ(l.kind(), ObservationLine::Kind::Backsight);
    EXPECT_EQ(l.reading(), "       1.43346");
    EXPECT_EQ(l.distance(), "         7.676");
    EXPECT_FALSE(l.voided());
    EXPECT_FALSE(l.returnRun());

    const auto z = SplitObservationLine(
        "For M5|Adr     8|KD1       X3##### 05:50:15    1|                      |"
        "                      |Z         0.08608 m   |",
        8);
    EXPECT_EQ(z.kind(), ObservationLine::Kind::PointHeight);
    EXPECT_TRUE(z.voided());
    // "Sh" in block 1 with a Z in block 3 is a line summary, not a point height.
    const auto sh = SplitObservationLine(
        "For M5|Adr    25|KD1       X3                  1|Sh       -0.00010 m   |"
        "dz        0.00010 m   |Z         0.00000 m   |",
        25);
    EXPECT_EQ(sh.kind(), ObservationLine::Kind::Other);
    DiniLines d;
    d.sight("Rb", "X1", 1, 1, "   F");
    EXPECT_TRUE(SplitObservationLine(d.lines[0], 1).returnRun());
}

TEST(M5RunReader, RunStateDecidesWhatReachesTheBook) {
    DiniLines d;
    d.sight("Rb", "P0", 1, 1);  // before any Start-Line: left out with a warning
    d.start("7");
    d.marker("Reading E327");  // other markers change nothing
    d.height("A", 0);
    d.sight("Rb", "A", 1.1, 10, "#####");  // voided: seen, not handed on
    d.sight("Rb", "A", 1.2, 10);
    d.end();
    d.sight("Rf", "X", 1.3, 10);  // after End-Line: nothing
    d.cont();
    d.sight("Rf", "B", 1.4, 10);  // Cont-Line after End-Line: same sheet
    d.start("8");
    d.end();  // a Start-Line followed only by markers creates no sheet and ends none
    d.start("9");
    d.sight("Rb", "C", 1.5, 10);
    Read r(d.lines);
    EXPECT_EQ(r.outcome, RunOutcome::Read);
    EXPECT_EQ(r.book.events, (std::vector<std::string>{"sheet 7", "   A", "Rb A", "end", "Rf B",
                                                       "sheet 9", "Rb C", "finish"}));
    EXPECT_EQ(r.book.seen.size(), 7u);  // every observation line, voided or not
    ASSERT_EQ(r.t.user.texts(MessageKind::Warning).size(), 1u);
    EXPECT_EQ(r.t.user.texts(MessageKind::Warning)[0],
              "NONAME.TXT: The observation line 1 came before the first Start-Line and was left out of the "
              "book.");
    EXPECT_FALSE(r.t.user.progressActive);
}

TEST(M5RunReader, ContLineWithoutStartLineOpensASheetOfItsLineNumber) {
    DiniLines d;
    d.start("3");
    d.lines.clear();  // the Start-Line lies in an earlier download
    d.cont();
    d.sight("Rb", "A", 1, 10);
    d.start("4");
    d.cont();  // between a Start-Line and its first observation: the new sheet still comes
    d.sight("Rb", "B", 1, 10);
    Read r(d.lines);
    EXPECT_EQ(r.book.events,
              (std::vector<std::string>{"sheet 3", "Rb A", "sheet 4", "Rb B", "finish"}));
}

TEST(M5RunReader, NotM5StopsAndEndStopsReading) {
    DiniLines d;
    d.start("1");
    d.sight("Rb", "A", 1, 10);
    auto lines = d.lines;
    lines.insert(lines.begin() + 1, "");
    Read blank(lines);
    EXPECT_EQ(blank.outcome, RunOutcome::NotM5);
    ASSERT_EQ(blank.t.user.messages.size(), 1u);
    EXPECT_EQ(blank.t.user.messages[0].text.rfind(std::string("NONAME.TXT: ") + kNotDiniMessage, 0),
              0u);
    EXPECT_NE(blank.t.user.messages[0].text.find("Line 2 is empty"), std::string::npos);
    EXPECT_TRUE(blank.book.events.empty());  // no finish: nothing is saved
    EXPECT_FALSE(blank.t.user.progressActive);

    lines = d.lines;
    lines.insert(lines.begin() + 1, "END of data");
    lines.push_back("garbage that is never read");
    Read ended(lines);
    EXPECT_EQ(ended.outcome, RunOutcome::NoLevellingLine);
    EXPECT_EQ(ended.book.events, std::vector<std::string>{"finish"});
}

TEST(M5RunReader, RealDiniFileGivesTwoLinesWithoutItsVoidedSights) {
    TestContext t;
    RecordingBook book;
    t.workspace.load(test::CorpusFile("m5/bookcode-dini03-0624CH67.dat"));
    EXPECT_EQ(ReadM5Run(t.ctx, t.workspace, book), RunOutcome::Read);
    const auto& e = book.events;
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e.front(), "sheet 1");
    EXPECT_EQ(std::count(e.begin(), e.end(), "sheet 2"), 1);
    EXPECT_EQ(std::count(e.begin(), e.end(), "Rb X3"), 4);  // 2 on line 1, 2 of line 2 unvoided
    EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());
}

TEST(ToleranceClasses, ClassRowsAndStrictLimits) {
    ToleranceOptions options;
    EXPECT_EQ(options.limits, ClassLimitTexts(0));  // the dialog opens with 一等
    EXPECT_EQ(ClassLimitTexts(0), (std::array<std::string, 5>{"30", "0.5", "1.5", "0.3", "0.4"}));
    SelectLevellingClass(options, 1);
    EXPECT_EQ(options.limits, (std::array<std::string, 5>{"50", "1", "3", "0.4", "0.6"}));
    SelectLevellingClass(options, 2);
    EXPECT_EQ(options.limits, (std::array<std::string, 5>{"100", "2", "5", "1", "1.5"}));
    SelectLevellingClass(options, 0);
    EXPECT_EQ(options.limits, ClassLimitTexts(0));
    EXPECT_STREQ(LevellingClassName(options.levellingClass), "一等");

    options.limits[3] = " 0.35 ";
    EXPECT_DOUBLE_EQ(ReadToleranceLimits(options)[kReadingDifference], 0.35);
    options.limits[1] = "0,5";
    try {
        ReadToleranceLimits(options);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("\"0,5\""), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("视距差(m)≦"), std::string::npos);
    }
}

}  // namespace
}  // namespace tarvosen::levelling
