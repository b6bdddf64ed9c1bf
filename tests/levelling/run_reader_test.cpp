// The M5 levelling reader as every levelling command meets it (the model it
// hands over, its account of every line, what it refuses), and the tolerance
// classes of the high-order book.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/errors.h"
#include "levelling/levelling_model.h"
#include "levelling/tolerance_classes.h"
#include "tests/levelling/dini_lines.h"
#include "tests/support/test_context.h"
#include "levelling/levelling_options.h"

namespace tarvosen::levelling {
namespace {

using test::DiniLines;
using test::TestContext;

// Writes down what the reader hands over, as the model holds it.
class RecordingSink : public LevellingSink {
  public:
    void startLine(const LineStart& s) override {
        events.push_back((s.continued ? "cont " : "start ") + s.name + " " + s.method + "/" +
                         std::to_string(s.readingsPerStaff));
    }
    void observation(const LevelObservation& o) override {
        static const char* const kinds[] = {"Rb", "Rf", "Rz", "Z"};
        events.push_back(std::string(kinds[static_cast<int>(o.kind)]) + " " + o.point + " " +
                         (o.kind == ObservationKind::PointHeight ? o.height.text : o.reading.text) +
                         "@" + std::to_string(o.line));
    }
    void summary(const InstrumentSummary& s) override {
        events.push_back("sum Sh " + s.heightSum.text + " Db " + s.backDistances.text);
    }
    void mark(const LineMark& m) override { events.push_back("mark " + std::to_string(m.line)); }
    void endLine(const LineEnd& e) override { events.push_back("end " + e.point); }
    void finish() override { events.push_back("finish"); }
    std::vector<std::string> events;
};

struct Read {
    TestContext t;
    RecordingSink sink;
    LineAccount account;
    ReadOutcome outcome{};
    explicit Read(const std::vector<std::string>& lines) {
        t.setLines(lines);
        outcome = ReadLevelling(t.ctx, t.workspace, "job.dat", sink, account);
    }
};

TEST(M5LevellingReader, HandsOverTheModelAndAccountsForEveryLine) {
    DiniLines d;
    d.sight("Rb", "P0", 1, 1);  // before any Start-Line: passed over with a warning
    d.start("7");
    d.marker("Reading E327");
    d.height("A", 0);
    d.sight("Rb", "A", 1.1, 10, "#####");  // voided: a mark, not an observation
    d.sight("Rb", "A", 1.2, 10);
    d.end();
    d.sight("Rf", "X", 1.3, 10);  // after End-Line: passed over with a warning
    d.cont();
    d.sight("Rf", "B", 1.4, 10, "   F");
    d.start("9", "aBF");
    d.lines.push_back("a line of prose among the records");
    d.lines.push_back("");
    d.lines.push_back("For M5|Adr 00099|PI1 ...");  // a record kind no levelling line holds
    Read r(d.lines);
    EXPECT_EQ(r.outcome, ReadOutcome::Read);
    EXPECT_EQ(r.sink.events,
              (std::vector<std::string>{"start 7 BFFB/2", "mark 3", "Z A 0.00000@4", "mark 5",
                                        "Rb A 1.20000@6", "end A", "cont 7 /2", "Rf B 1.40000@10",
                                        "start 9 aBF/1", "finish"}));
    // 14 lines: used 7 (markers that shape lines, observations); passed over
    // the error record, the voided sight, the two outside a line and the blank line.
    const auto& f = r.account.files().at(0);
    EXPECT_EQ(f.name, "job.dat");
    EXPECT_EQ(f.used, 7u);
    EXPECT_EQ(f.passedOver, 5u);
    EXPECT_EQ(f.notUnderstood.text(), "12 and 14");
    const auto warnings = r.t.user.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "job.dat: The observation line 1 came before the first Start-Line and "
                           "was left out of the book.");
    EXPECT_NE(warnings[1].find("after an End-Line"), std::string::npos);
    EXPECT_FALSE(r.t.user.progressActive);
}

TEST(M5LevellingReader, AUnitOtherThanMetresAndAFileOfNoFormatAreRefused) {
    DiniLines d;
    d.start("1");
    d.height("A", 100);
    d.sight("Rb", "A", 1, 10);
    auto lines = d.lines;
    // A reading in feet would be taken as metres by every book.
    lines[2].replace(lines[2].find(" m   |"), 6, " ft  |");
    Read feet(lines);
    EXPECT_EQ(feet.outcome, ReadOutcome::Refused);
    EXPECT_EQ(feet.t.user.texts(MessageKind::Error),
              std::vector<std::string>{"job.dat:3: the value 1.00000 is in \"ft\"; levelling data "
                                       "is read in metres (\"m\") only, so nothing was written."});
    EXPECT_EQ(feet.sink.events, (std::vector<std::string>{"start 1 BFFB/2", "Z A 100.00000@2"}));

    Read prose({"", "Dear surveyor,", "the levelling went well."});
    EXPECT_EQ(prose.outcome, ReadOutcome::Refused);
    EXPECT_EQ(prose.t.user.texts(MessageKind::Error),
              std::vector<std::string>{"job.dat:2: this is no levelling data the program reads "
                                       "(DiNi M5, Leica GSI); the line is \"Dear surveyor,\"."});
    EXPECT_TRUE(prose.sink.events.empty());
}

TEST(M5LevellingReader, RealDiniFileGivesTwoLinesWithoutItsVoidedSights) {
    TestContext t;
    RecordingSink sink;
    LineAccount account;
    t.workspace.load(test::CorpusFile("m5/bookcode-dini03-0624CH67.dat"));
    EXPECT_EQ(ReadLevelling(t.ctx, t.workspace, "0624CH67.DAT", sink, account), ReadOutcome::Read);
    const auto& e = sink.events;
    ASSERT_FALSE(e.empty());
    EXPECT_EQ(e.front(), "start 1 aBFFB/2");
    EXPECT_EQ(std::count_if(e.begin(), e.end(),
                            [](const std::string& s) { return s.starts_with("Rb X3 "); }),
              4);  // 2 on line 1, 2 of line 2 unvoided
    // Every one of the 65 lines is accounted for, and understood.
    EXPECT_EQ(account.lineCount(), 65u);
    EXPECT_EQ(account.notUnderstoodCount(), 0u);
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
