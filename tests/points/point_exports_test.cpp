#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_runner.h"
#include "points/point_commands.h"
#include "points/point_exports.h"
#include "tests/points/point_test_support.h"

namespace tarvosen {
namespace {

using test::RunOnLines;
using test::TestContext;
using Lines = std::vector<std::string>;

// The three-comma line, a blank line, padded numbers, an empty X and an over-long code.
const Lines kMixedList = {
    "P1,100.0,200.0,10.0", "", "P2,  1000.000,  2000.000,    20.500,", "P3,,7,8,TREE",
    "P4,1,2,3,KERB",
};

// --- DXF ------------------------------------------------------------------

Lines Entities(const std::string& layer, const std::string& x, const std::string& y,
               const std::string& z, const std::string& text) {
    Lines l = {layer == "PT" ? "POINT" : "TEXT", " 8", layer, " 10", x, " 20", y, " 30", z};
    if (layer != "PT") l.insert(l.end(), {" 40", " 1.0", " 1", text});
    l.push_back(" 0");
    return l;
}

TEST(PointsToDxf, WritesOnePointAndItsLabelsPerRecordWithZReformatted) {
    TestContext t;
    t.state.currentDocumentName = "job.txt";
    auto run = RunOnLines(t, PointsToDxfCommand, kMixedList);
    ASSERT_EQ(run.status, CommandStatus::Done);
    Lines expected = {" 0", "SECTION", " 2", "ENTITIES", " 0"};
    auto add = [&](Lines l) { expected.insert(expected.end(), l.begin(), l.end()); };
    // P1: empty code, no CODE text. P2: padded X and Y kept, Z re-formatted.
    add(Entities("PT", "100.0", "200.0", "10.000000", ""));
    add(Entities("PN", "100.0", "200.0", "10.000000", "P1"));
    add(Entities("PT", "  1000.000", "  2000.000", "20.500000", ""));
    add(Entities("PN", "  1000.000", "  2000.000", "20.500000", "P2"));
    // P3 has no X and is left out.
    add(Entities("PT", "1", "2", "3.000000", ""));
    add(Entities("PN", "1", "2", "3.000000", "P4"));
    add(Entities("CODE", "1", "2", "3.000000", "KERB"));
    add({"ENDSEC", " 0", "EOF"});
    EXPECT_EQ(run.lines, expected);
    Workspace list;
    list.replaceAll(kMixedList);
    EXPECT_EQ(points::DxfLineCount(list.view()), expected.size());  // the room made first
    EXPECT_TRUE(run.warnings.empty());
    EXPECT_EQ(t.state.currentDocumentName, (t.dir() / "NONAME.TXT").string());
}

TEST(PointsToDxf, CodeOfBlanksHasNoCodeTextButItsBlanksAreKeptOtherwise) {
    auto run = RunOnLines(PointsToDxfCommand, {"A,1,2,3,  \t", "B,1,2,3, S "});
    std::size_t codeTexts = 0;
    for (std::size_t i = 0; i + 1 < run.lines.size(); ++i)
        if (run.lines[i] == "CODE") ++codeTexts;
    EXPECT_EQ(codeTexts, 1u);
    EXPECT_EQ(run.lines.at(run.lines.size() - 5), " S ");
}

TEST(PointsToDxf, ZIsTheNumberAtTheStartOfItsText) {
    bool isNumber = false;
    EXPECT_EQ(points::DxfZ("  -12.5m", isNumber), "-12.500000");
    EXPECT_TRUE(isNumber);
    EXPECT_EQ(points::DxfZ("+.25", isNumber), "0.250000");
    EXPECT_EQ(points::DxfZ("1e3", isNumber), "1000.000000");
    EXPECT_EQ(points::DxfZ("123456789.1234567", isNumber), "123456789.123457");
    for (const char* bad : {"", "abc", "nan", "inf", "+-1", "-", ".", "1e999"}) {
        EXPECT_EQ(points::DxfZ(bad, isNumber), "0.000000") << bad;
        EXPECT_FALSE(isNumber) << bad;
    }
}

TEST(PointsToDxf, EmptyListGivesHeaderAndTrailerAndAZThatIsNoNumberIsReported) {
    EXPECT_EQ(RunOnLines(PointsToDxfCommand, {}).lines,
              (Lines{" 0", "SECTION", " 2", "ENTITIES", " 0", "ENDSEC", " 0", "EOF"}));
    auto run = RunOnLines(PointsToDxfCommand, {"P1,1,2,,", "P2,1,2,x,"});
    EXPECT_EQ(run.lines.at(13), "0.000000");
    ASSERT_EQ(run.warnings.size(), 1u);
    EXPECT_NE(run.warnings[0].find("lines 1 and 2 had a Z that is not a number"),
              std::string::npos);
}

// --- R5 -------------------------------------------------------------------

TEST(PointsToR5, AlphabeticNamesBecomeNumbers) {
    using points::ConvertAlphabeticToNumber;
    EXPECT_EQ(ConvertAlphabeticToNumber("P12"), "1612");
    EXPECT_EQ(ConvertAlphabeticToNumber("AB"), "12");
    EXPECT_EQ(ConvertAlphabeticToNumber("P001"), "1600");
    EXPECT_EQ(ConvertAlphabeticToNumber("P9"), "169");
    EXPECT_EQ(ConvertAlphabeticToNumber("ab"), "12");
    EXPECT_EQ(ConvertAlphabeticToNumber("_"), "-1");
    EXPECT_EQ(ConvertAlphabeticToNumber("a-b"), "1-2");            // below 48: kept
    EXPECT_EQ(ConvertAlphabeticToNumber("\xb5\xe3"), "\xb5\xe3");  // GB bytes kept
    EXPECT_EQ(ConvertAlphabeticToNumber("1234"), "1234");
}

TEST(PointsToR5, WritesCoordinateLinesWithNamesAndCodesCutAndEnd) {
    TestContext t;
    auto run = RunOnLines(
        t, PointsToR5Command,
        {"ABCDE,100.0,200.0,10.0", "P12,  1000.000,  2000.000,    20.500,KERB", "P9,,7,8,S"});
    EXPECT_EQ(run.lines, (Lines{"For R5|Adr 0001|KR    1234|X        100.0 m   |Y        200.0 m   "
                                "|Z         10.0 m   |",
                                "For R5|Adr 0002|KR KER1612|X     1000.000 m   |Y     2000.000 m   "
                                "|Z       20.500 m   |",
                                "For R5|Adr 0003|KR   S 169|X              m   |Y            7 m   "
                                "|Z            8 m   |",
                                "END"}));
    EXPECT_EQ(t.state.currentDocumentName, (t.dir() / "NONAME.TXT").string());

    t.options.r5.convertAlphabeticToNumber = false;
    EXPECT_EQ(RunOnLines(t, PointsToR5Command, {"ABCDE,1,2,3,"}).lines.at(0).substr(16, 10),
              "KR    ABCD");
}

TEST(PointsToR5, EmptyListGivesEndAndAddressesBeyond9999AreWrittenInFullAndReported) {
    EXPECT_EQ(RunOnLines(PointsToR5Command, {}).lines, Lines{"END"});
    Lines many(10000, "P,1,2,3,");
    auto run = RunOnLines(PointsToR5Command, many);
    ASSERT_EQ(run.lines.size(), 10001u);
    EXPECT_EQ(run.lines[9999].substr(0, 17), "For R5|Adr 10000|");
    ASSERT_EQ(run.warnings.size(), 1u);
    EXPECT_NE(run.warnings[0].find("10000 points"), std::string::npos);
}

TEST(PointsToR5, KeepLettersOnTheCommandLine) {
    TestContext t;
    auto in = t.writeFile("list.txt", "AB1,1,2,3,\r\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"points-to-r5", "--keep-letters", in.string()}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("|KR     AB1|"), std::string::npos) << out.str();
    std::ostringstream out2, err2;
    EXPECT_EQ(RunCli({"points-to-r5", in.string()}, out2, err2), 0) << err2.str();
    EXPECT_NE(out2.str().find("|KR     121|"), std::string::npos) << out2.str();
}

// --- COR and ORG ------------------------------------------------------------

TEST(PointsToCor, NumbersEntriesFrom101AndPutsYBeforeX) {
    TestContext t;
    t.state.currentDocumentName = "job.txt";
    Lines list;
    for (int i = 1; i <= 10; ++i) list.push_back("P" + std::to_string(i) + ",1.5, 2.5,3.5,C");
    auto run = RunOnLines(t, PointsToCorCommand, list);
    ASSERT_EQ(run.lines.size(), 20u);
    EXPECT_EQ(run.lines[0], "904  1  0  $101");
    EXPECT_EQ(run.lines[1], "P1   2.5  1.5  3.5  1  1  0  0");
    EXPECT_EQ(run.lines[18], "904  1  0  $110");
    EXPECT_EQ(t.state.currentDocumentName, "job.txt");
    EXPECT_TRUE(RunOnLines(PointsToCorCommand, {}).lines.empty());
}

TEST(PointsToOrg, WritesTheCodeRightAlignedInThreeColumnsNeverCut) {
    TestContext t;
    t.state.currentDocumentName = "job.txt";
    auto run = RunOnLines(t, PointsToOrgCommand, {"P1,1,2,3", "P2, 1, 2, 3,S", "P3,1,2,3,TREE"});
    EXPECT_EQ(run.lines, (Lines{"b,P1,1,2,3,16384=10+   ,    0,    0,    0",
                                "b,P2, 1, 2, 3,16384=10+  S,    0,    0,    0",
                                "b,P3,1,2,3,16384=10+TREE,    0,    0,    0"}));
    EXPECT_EQ(t.state.currentDocumentName, "job.txt");
    EXPECT_TRUE(RunOnLines(PointsToOrgCommand, {}).lines.empty());
}

TEST(PointExports, ThreeCommaLinesAndBlankLinesLoseNoPointInAnyExport) {
    // P3 has an empty X: only the DXF leaves it out.
    EXPECT_EQ(RunOnLines(PointsToR5Command, kMixedList).lines.size(), 5u);
    EXPECT_EQ(RunOnLines(PointsToCorCommand, kMixedList).lines.size(), 8u);
    auto org = RunOnLines(PointsToOrgCommand, kMixedList);
    EXPECT_EQ(org.lines,
              (Lines{"b,P1,100.0,200.0,10.0,16384=10+   ,    0,    0,    0",
                     "b,P2,  1000.000,  2000.000,    20.500,16384=10+   ,    0,    0,    0",
                     "b,P3,,7,8,16384=10+TREE,    0,    0,    0",
                     "b,P4,1,2,3,16384=10+KERB,    0,    0,    0"}));
    EXPECT_TRUE(org.warnings.empty());
}

}  // namespace
}  // namespace tarvosen
