#include "adjustment/adjustment_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adjustment/adjustment_commands.h"
#include "adjustment/nikon_raw.h"
#include "app/errors.h"
#include "tests/support/test_context.h"
#include "adjustment/adjustment_options.h"

namespace tarvosen {
namespace {

using Lines = std::vector<std::string>;

// A station with backsight and foresight in two faces (BS I, BS II, FS I, FS II).
Lines Station(const std::string& name, const std::string& back, const std::string& fore,
              const std::string& height) {
    return {"ST," + name + ",," + back + ",," + height + ",,0.0000",
            "SS," + back + ",1.600,100.000,0.0004,89.5950,t",
            "SS," + back + ",1.600,100.001,180.0002,270.0016,t",
            "SS," + fore + ",1.700,200.1234,120.3012,91.0000,t",
            "SS," + fore + ",1.700,200.1256,300.3008,269.0020,t"};
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct TextRun {
    test::TestContext t;
    explicit TextRun(const Lines& raw) {
        t.setLines(raw);
        t.options.get<TraverseOptions>().produceBook = false;
        t.options.get<TraverseOptions>().date = std::chrono::year_month_day{
            std::chrono::year{2026}, std::chrono::month{12}, std::chrono::day{8}};
    }
    Lines run() {
        EXPECT_EQ(NikonToTraverseCommand(t.ctx), CommandStatus::Done);
        return t.workspace.lines();
    }
};

TEST(AdjustmentText, TwoStationsGiveHeaderCountKnownPointsAndFourteenLinesEach) {
    TextRun r(
        Join({{"CO,header"}, Station("A", "K0", "B", "1.450"), Station("B", "A", "K9", "1.550")}));
    r.t.options.get<TraverseOptions>().heightIncrement = "0.1";
    const Lines& out = r.run();
    ASSERT_EQ(out.size(), 35u);
    EXPECT_EQ(Lines(out.begin(), out.begin() + 6),
              (Lines{"DTM-330", "DGDX", "2026-12-08", "GCZ", "2", "K0"}));
    EXPECT_EQ(Lines(out.begin() + 6, out.begin() + 20),
              (Lines{"A", "1.450", "0.0004", "180.0002", "120.3012", "300.3008", "89.5950",
                     "270.0016", "91.0000", "269.0020", "200.123", "200.126", "1.600", "1.650"}));
    // B's backsight height is A's instrument height plus the increment; its
    // foresight to the closing point keeps the height read.
    EXPECT_EQ(out[20], "B");
    EXPECT_EQ(out[32], "1.550");
    EXPECT_EQ(out[33], "1.700");
    EXPECT_EQ(out[34], "K9");
    EXPECT_EQ(r.t.state.currentDocumentName, (r.t.dir() / "NONAME.TXT").string());
    EXPECT_TRUE(r.t.user.messages.empty());
}

TEST(AdjustmentText, MiddleStationsAreNamedAfterTheLine) {
    TextRun r(Join({Station("A", "K0", "X", "1.4"), Station("X", "A", "Y", "1.5"),
                    Station("Y", "X", "K9", "1.6")}));
    r.t.options.get<TraverseOptions>().lineName = "L7-";
    const Lines& out = r.run();
    ASSERT_EQ(out.size(), 4u + 2 + 3 * 14 + 1);
    EXPECT_EQ(out[6], "A");
    EXPECT_EQ(out[20], "L7-01");
    EXPECT_EQ(out[34], "Y");
    EXPECT_EQ(out[20 + 12], "1.400");  // backsight height: A's instrument height
    EXPECT_EQ(out[20 + 13], "1.600");  // foresight height: Y's instrument height
}

TEST(AdjustmentText, FacesFollowTheZenithAndExtraObservationsAreLeftOutWithAWarning) {
    Lines raw = Station("A", "K0", "K9", "1.4");
    // The backsight's face II first, then face I at exactly 180° (face II), then
    // a fifth and sixth observation.
    raw[1] = "SS,K0,1.6,100,180.0002,270.0016";
    raw[2] = "SS,K0,1.6,100,0.0004,89.5950";
    raw[3] = "SS,K9,1.7,50,10.0000,180.0000";
    raw.push_back("SS,Z,1.7,50,11.0000,80.0000");
    raw.push_back("SS,Z,1.7,50,191.0000,280.0000");
    TextRun r(raw);
    const Lines& out = r.run();
    ASSERT_EQ(out.size(), 21u);
    EXPECT_EQ(Lines(out.begin() + 8, out.begin() + 18),
              (Lines{"0.0004", "180.0002", "", "300.3008", "89.5950", "270.0016", "", "269.0020",
                     "", "200.126"}));
    const auto warnings = r.t.user.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("\"A\" (line 6)"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("face I"), std::string::npos) << warnings[1];
}

TEST(AdjustmentText, AStationWithFewerObservationsWritesEmptyTextsAndZeros) {
    TextRun r(Join(
        {Station("A", "K0", "B", "1.4"), {"ST,B,,A,,1.5,,0.0000", "SS,A,1.6,10,0.0000,90.0000"}}));
    const Lines& out = r.run();
    ASSERT_EQ(out.size(), 35u);
    EXPECT_EQ(Lines(out.begin() + 20, out.end()),
              (Lines{"B", "1.500", "0.0000", "", "", "", "90.0000", "", "", "", "", "", "1.400",
                     "0.000", ""}));
}

TEST(AdjustmentText, ObservationsBeforeTheFirstSetUpAreLeftOut) {
    TextRun r(Join({{"SS,Q,1,1,1.0000,90.0000"}, Station("A", "K0", "K9", "1.4")}));
    const Lines& out = r.run();
    ASSERT_EQ(out.size(), 21u);
    EXPECT_EQ(out[8], "0.0004");
    const auto warnings = r.t.user.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("line 1"), std::string::npos);
}

TEST(AdjustmentText, ABadIncrementOrNoSetUpChangesNothing) {
    const Lines raw = Station("A", "K0", "K9", "1.4");
    TextRun bad(raw);
    bad.t.options.get<TraverseOptions>().heightIncrement = "0,1";
    EXPECT_THROW(NikonToTraverseCommand(bad.t.ctx), ConversionError);
    EXPECT_EQ(bad.t.workspace.lines(), raw);

    TextRun none({"CO,only comments", "SS,P,1,1,1.0000,90.0000"});
    EXPECT_EQ(NikonToTraverseCommand(none.t.ctx), CommandStatus::Stopped);
    EXPECT_EQ(none.t.workspace.line(0), "CO,only comments");

    TextRun empty({});
    EXPECT_EQ(NikonToTraverseCommand(empty.t.ctx), CommandStatus::Stopped);
    EXPECT_EQ(empty.t.user.messages.at(0).text,
              std::string("NONAME.TXT: ") + kNoNikonRawDataForConversion);
}

TEST(AdjustmentText, TheSampleTraverse) {
    test::TestContext t;
    t.workspace.load(test::DataFile("samples/traverse-four-stations.raw"));
    t.options.get<TraverseOptions>().produceBook = false;
    ASSERT_EQ(NikonToTraverseCommand(t.ctx), CommandStatus::Done);
    const Lines& out = t.workspace.lines();
    ASSERT_EQ(out.size(), 4u + 2 + 4 * 14 + 1);
    EXPECT_EQ(out[4], "4");
    EXPECT_EQ(out[5], "G1");
    EXPECT_EQ(out[6], "G2");
    EXPECT_EQ(out[20], "DGDX01");
    EXPECT_EQ(out[34], "DGDX02");
    EXPECT_EQ(out[48], "G3");
    EXPECT_EQ(out.back(), "G4");
    EXPECT_TRUE(t.user.messages.empty());
}

TEST(GeneratedStationName, PadsToTwoDigitsAndGrows) {
    EXPECT_EQ(GeneratedStationName("DGDX", 1), "DGDX01");
    EXPECT_EQ(GeneratedStationName("DGDX", 123), "DGDX123");
}

}  // namespace
}  // namespace tarvosen
