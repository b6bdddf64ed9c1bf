#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/cli_runner.h"
#include "points/point_commands.h"
#include "points/point_exports.h"
#include "zeiss/zeiss_commands.h"
#include "tests/points/point_test_support.h"
#include "zeiss/r5_options.h"

namespace tarvosen {
namespace {

using test::CorpusFile;
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
    EXPECT_EQ(run.warnings, Lines{"job.txt: line 4 was not understood and was left out."});
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

TEST(PointsToDxf, EmptyListIsRefusedAndAZThatIsNoNumberIsReported) {
    // An empty list is no point list: no drawing without a point.
    EXPECT_EQ(RunOnLines(PointsToDxfCommand, {}).status, CommandStatus::Stopped);
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

    t.options.get<R5Options>().convertAlphabeticToNumber = false;
    EXPECT_EQ(RunOnLines(t, PointsToR5Command, {"ABCDE,1,2,3,"}).lines.at(0).substr(16, 10),
              "KR    ABCD");
}

TEST(PointsToR5, EmptyListIsRefusedAndAddressesBeyond9999StartAgainAtZero) {
    EXPECT_EQ(RunOnLines(PointsToR5Command, {}).status, CommandStatus::Stopped);
    Lines many(10000, "P,1,2,3,");
    auto run = RunOnLines(PointsToR5Command, many);
    ASSERT_EQ(run.lines.size(), 10001u);
    EXPECT_EQ(run.lines[9998].substr(0, 16), "For R5|Adr 9999|");
    EXPECT_EQ(run.lines[9999].substr(0, 16), "For R5|Adr 0000|");
    EXPECT_EQ(run.lines[9999].size(), 87u);
    ASSERT_EQ(run.warnings.size(), 1u);
    EXPECT_NE(run.warnings[0].find("10000 points"), std::string::npos);
}

// Name, X, Y and Z of point list lines "name,X,Y,Z,...", read by splitting at
// the commas, blanks around the name dropped.
struct ListPoint {
    std::string name;
    double x, y, z;
};
std::vector<ListPoint> SplitAtCommas(const Lines& lines) {
    std::vector<ListPoint> points;
    for (const auto& line : lines) {
        std::istringstream in(line);
        std::string name, x, y, z;
        std::getline(in, name, ',');
        std::getline(in, x, ',');
        std::getline(in, y, ',');
        std::getline(in, z, ',');
        name.erase(0, name.find_first_not_of(' '));
        points.push_back({name, std::stod(x), std::stod(y), std::stod(z)});
    }
    return points;
}

// State-plane coordinates with five decimals are 13 characters, two more than
// an R5 value holds: each is rounded to what fits, every line keeps the
// 87-column layout, and R5 -> points gives all 1311 points of the file back
// to the millimetre, compared with the list's own numbers. R5 keeps X to
// 0.1 mm (rounding off at most 0.05 mm) and the point list is written to the
// mm (0.5 mm more at most), so no value may be 0.55 mm off.
TEST(PointsToR5, LongCoordinatesAreRoundedToFitAndComeBackToTheMillimetre) {
    TestContext t;
    t.workspace.load(CorpusFile("pointlist/bezitopo-topo0-pnezd.asc"));
    const Lines list = t.workspace.lines();
    ASSERT_EQ(list.size(), 1311u);
    ASSERT_EQ(PointsToR5Command(t.ctx), CommandStatus::Done);
    const Lines r5 = t.workspace.lines();
    ASSERT_EQ(r5.size(), 1312u);
    // "1,538542.57000,1455644.37100,681.31000,I": X keeps 4 decimals, Y 3.
    EXPECT_EQ(r5[0], "For R5|Adr 0001|KR   I   1|X  538542.5700 m   |Y  1455644.371 m   "
                     "|Z    681.31000 m   |");
    for (std::size_t i = 0; i + 1 < r5.size(); ++i) {
        EXPECT_EQ(r5[i].size(), 87u) << r5[i];
        EXPECT_EQ(r5[i].compare(46, 4, "|Y  "), 0) << r5[i];
    }
    const auto warnings = t.user.texts(MessageKind::Warning);
    EXPECT_NE(std::find(warnings.begin(), warnings.end(),
                        "NONAME.TXT: lines 1-1311 had coordinates with more decimals than the 11 "
                        "columns of an R5 value hold; they were rounded to the decimals that fit "
                        "(millimetres at least)."),
              warnings.end());

    t.user.saveAnswers.push_back(t.dir() / "back.txt");
    ASSERT_EQ(R5ToPointsCommand(t.ctx), CommandStatus::Done);
    const auto given = SplitAtCommas(list), back = SplitAtCommas(t.workspace.lines());
    ASSERT_EQ(back.size(), given.size());
    for (std::size_t i = 0; i < given.size(); ++i) {
        SCOPED_TRACE(list[i]);
        EXPECT_EQ(back[i].name, given[i].name);
        constexpr double kMost = 0.00055 + 1e-9;
        EXPECT_NEAR(back[i].x, given[i].x, kMost);
        EXPECT_NEAR(back[i].y, given[i].y, kMost);
        EXPECT_NEAR(back[i].z, given[i].z, kMost);
    }
}

TEST(PointsToR5, ACoordinateThatCannotFitIsRefusedNamingThePoint) {
    TestContext t;
    t.state.currentDocumentName = "job.txt";
    // 8 digits before the point leave 2 columns for decimals.
    const Lines list = {"A,1,2,3", "P9,12345678.1234,1,2", "B,1,2,3"};
    const auto run = RunOnLines(t, PointsToR5Command, list);
    EXPECT_EQ(run.status, CommandStatus::Stopped);
    EXPECT_EQ(run.lines, list);
    EXPECT_EQ(t.user.texts(MessageKind::Error),
              Lines{"job.txt: point P9 (line 2) cannot be written as R5: its X \"12345678.1234\" "
                    "does not fit the 11 columns of an R5 value, even rounded to millimetres."});
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

// --- Layouts and long names -------------------------------------------------

std::string RunCliOn(const std::filesystem::path& in, std::vector<std::string> args, int& status,
                     std::string* errors = nullptr) {
    args.push_back(in.string());
    std::ostringstream out, err;
    status = RunCli(args, out, err);
    if (errors) *errors = err.str();
    return out.str();
}

TEST(PointExports, LayoutOnTheCommandLineForcesEachReading) {
    TestContext t;
    // Five numbers: name 1, then X 2, Y 3, Z 4, code 5 in the program's own
    // layout, or code 2, east 3, north 4, height 5 in CASS.
    const auto numbers = t.writeFile("numbers.txt", "1,2,3,4,5\r\n");
    struct Case {
        const char* command;
        const char* own;
        const char* cass;
    };
    for (const Case& c : {
             Case{"points-to-dxf", "\r\n 10\r\n2\r\n 20\r\n3\r\n", "\r\n 10\r\n3\r\n 20\r\n4\r\n"},
             Case{"points-to-r5", "|X            2 m   |Y            3 m   |Z            4 m   |",
                  "|X            4 m   |Y            3 m   |Z            5 m   |"},
             Case{"points-to-cor", "\r\n1  3  2  4  1  1  0  0\r\n",
                  "\r\n1  3  4  5  1  1  0  0\r\n"},
             Case{"points-to-org", "b,1,2,3,4,16384=10+  5,", "b,1,4,3,5,16384=10+  2,"},
         }) {
        int status = 0;
        std::string err;
        const auto guessed = RunCliOn(numbers, {c.command}, status, &err);
        EXPECT_NE(guessed.find(c.own), std::string::npos) << c.command << guessed;
        EXPECT_NE(err.find("fit the CASS layout equally well"), std::string::npos) << err;
        const auto cass = RunCliOn(numbers, {c.command, "--layout", "cass"}, status, &err);
        EXPECT_EQ(status, 0) << err;
        EXPECT_NE(cass.find(c.cass), std::string::npos) << c.command << cass;
        EXPECT_NE(err.find("information: Point list read in the CASS layout"), std::string::npos);
    }
    {  // and in the language asked for
        int status = 0;
        std::string err;
        RunCliOn(numbers, {"points-to-cor", "--layout", "cass", "--language", "big5"}, status, &err);
        EXPECT_NE(err.find("點列表按CASS 格式"), std::string::npos) << err;
    }
    // A CASS list read as the program's own: its fields stay where they stand.
    int status = 0;
    const auto cass = CorpusFile("pointlist/bookcode-cass-3333.dat");
    EXPECT_EQ(RunCliOn(cass, {"points-to-org", "--layout", "own"}, status).substr(0, 63),
              "b,1,,53414.28,31421.88,16384=10+39.555,    0,    0,    0\r\nb,2,,");
    std::string err;
    RunCliOn(CorpusFile("pointlist/bezitopo-topo0-pnezd.asc"), {"points-to-r5", "--layout", "cass"},
             status, &err);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("error: bezitopo-topo0-pnezd.asc: The workspace is not a point list"),
              std::string::npos)
        << err;
    RunCliOn(cass, {"points-to-dxf", "--layout", "north"}, status);
    EXPECT_EQ(status, 2);
}

TEST(PointExports, AFileOfProseIsRefusedAndLeftAsItWas) {
    const Lines prose = {"Notes of the survey, day two", "", "Rain until noon, then sun.",
                         "Station 4 moved 2 m east", "End of notes"};
    for (const auto command :
         {PointsToDxfCommand, PointsToR5Command, PointsToCorCommand, PointsToOrgCommand}) {
        TestContext t;
        t.state.currentDocumentName = "notes.txt";
        auto run = RunOnLines(t, command, prose);
        EXPECT_EQ(run.status, CommandStatus::Stopped);
        EXPECT_EQ(run.lines, prose);
        EXPECT_EQ(t.state.currentDocumentName, "notes.txt");
        const auto errors = t.user.texts(MessageKind::Error);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find("1: \"Notes of the survey, day two\", 3: \"Rain until noon, "
                                 "then sun.\", 4: \"Station 4 moved 2 m east\"."),
                  std::string::npos)
            << errors[0];
    }
}

TEST(PointExports, ALongNameIsKeptWholeAndCutWithAWarningOnlyInR5) {
    const std::string name = "BOUNDARY-STONE-" + std::string(45, '7');
    ASSERT_EQ(name.size(), 60u);
    const Lines list = {"P1,1,2,3,", name + ",10.5,20.5,30.5,KB"};
    const auto dxf = RunOnLines(PointsToDxfCommand, list);
    const auto cor = RunOnLines(PointsToCorCommand, list);
    const auto org = RunOnLines(PointsToOrgCommand, list);
    EXPECT_NE(std::find(dxf.lines.begin(), dxf.lines.end(), name), dxf.lines.end());
    EXPECT_EQ(cor.lines.at(3), name + "  20.5  10.5  30.5  1  1  0  0");
    EXPECT_EQ(org.lines.at(1), "b," + name + ",10.5,20.5,30.5,16384=10+ KB,    0,    0,    0");
    EXPECT_TRUE(dxf.warnings.empty() && cor.warnings.empty() && org.warnings.empty());

    // B, O, U, N become 2, 15, 21, 14: "2152114", of which R5 keeps 4.
    const auto r5 = RunOnLines(PointsToR5Command, list);
    EXPECT_EQ(r5.lines.at(1).substr(16, 10), "KR  KB2152");
    ASSERT_EQ(r5.warnings.size(), 1u);
    EXPECT_EQ(r5.warnings[0].rfind("NONAME.TXT: line 2 had a point name longer than the 4 characters "
                                   "of an R5 point number",
                                   0),
              0u)
        << r5.warnings[0];
}

}  // namespace
}  // namespace tarvosen
