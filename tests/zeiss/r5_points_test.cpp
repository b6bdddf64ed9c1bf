#include <gtest/gtest.h>

#include <cmath>

#include "app/errors.h"
#include "cli/cli_runner.h"

#include <sstream>
#include "tests/support/test_context.h"
#include "zeiss/r5_line.h"
#include "zeiss/r5_points.h"
#include "zeiss/zeiss_commands.h"
#include "zeiss/r5_options.h"

namespace tarvosen::zeiss {
namespace {

using test::DataFile;
using test::TestContext;

// Runs "R5 -> Pn, X, Y, Z" over the lines and returns the point lines.
std::vector<std::string> Points(TestContext& t, std::vector<std::string> r5) {
    t.setLines(std::move(r5));
    t.user.saveAnswers.push_back(t.dir() / "points.txt");
    EXPECT_EQ(R5ToPointsCommand(t.ctx), CommandStatus::Done);
    return t.workspace.lines();
}

const std::string kStation =
    "For R5|Adr 0002|KR S   100|X     1000.000 m   |Y     2000.000 m   |Z       50.000 m   |";
const std::string kHeights =
    "For R5|Adr 0003|TR INPUT  |th       1.800 m   |ih       1.550 m   |                   |";
const std::string kEastNorth =  // 90 degrees zenith, direction 0, 30 m
    "For R5|Adr 0004|KR P     7|SD      30.000 m   |Hz      0.0000 DMS |V1     90.0000 DMS |";

TEST(R5ToPoints, SampleSurveyInDmsAndGon) {
    TestContext t;
    t.workspace.load(DataFile("samples/polar-survey.r5"));
    t.user.saveAnswers.push_back(t.dir() / "job.txt");
    ASSERT_EQ(R5ToPointsCommand(t.ctx), CommandStatus::Done);
    const std::vector<std::string> expected{
        " 100,1000.000,2000.000,50.000,S  ",  // the station itself is a point
        " 101,1100.000,2000.000,51.200,A  ",
        " 101,1100.000,2000.000,50.943,A  ",  // its observation lands on it
        " 201,1017.821,2018.137,49.276,TRE", " 202,979.172,2031.920,50.418,TRE",
        " 203,954.908,1972.910,49.563,FEN",
        // From here the angles are in gon and the target height is 1.300.
        " 204,1033.715,1966.750,50.780,FEN", " 205,1059.838,2011.903,49.259,WEL",
        " 206,1000.000,2030.000,50.250,   "};
    EXPECT_EQ(t.workspace.lines(), expected);
    EXPECT_EQ(t.readFile(t.dir() / "job.txt").substr(0, 35),
              " 100,1000.000,2000.000,50.000,S  \r\n");
    EXPECT_EQ(t.state.currentDocumentName, (t.dir() / "job.txt").string());
    EXPECT_EQ(t.user.caption, "job.txt — Tarvosen Data Processor");
}

TEST(R5ToPoints, PolarPointFromTheStationWithHeights) {
    TestContext t;
    EXPECT_EQ(Points(t, {kStation, kHeights, kEastNorth}),
              (std::vector<std::string>{" 100,1000.000,2000.000,50.000,S  ",
                                        "   7,1030.000,2000.000,49.750,P  "}));

    // Column 48 "X" or "N": the first field is Y, the second X; a blank Z is 0.
    const std::string swapped =
        "For R5|Adr 0002|KR S     1|E      200.000 m   |N      100.000 m   |                   |";
    EXPECT_EQ(Points(t, {swapped, kEastNorth}),
              (std::vector<std::string>{"   1,100.000,200.000,0.000,S  ",
                                        "   7,130.000,200.000,0.000,P  "}));

    // A separate station height record ("S  " and Z in field 3).
    const std::string height =
        "For R5|Adr 0003|KR S     1|                   |                   |Z       12.000 m   |";
    EXPECT_EQ(Points(t, {swapped, height, kEastNorth}).back(), "   7,130.000,200.000,12.000,P  ");
}

TEST(R5ToPoints, ObservationsNeedAStationAndMem1) {
    TestContext t;
    // An orientation record alone sets the station (at 0, 0, 0).
    const std::string orientation =
        "For R5|Adr 0001|TR        |                   |Om      0.0000 DMS |                   |";
    EXPECT_EQ(Points(t, {orientation, kEastNorth}),
              std::vector<std::string>{"   7,30.000,0.000,0.000,P  "});

    t.options.get<R5Options>().recordFormat = 1;  // Mem/2: coordinates only
    EXPECT_EQ(Points(t, {kStation, kEastNorth}).size(), 1u);
}

// An offset of an eccentric target that no observation of its point
// follows is named in a warning; the next point is computed without it.
TEST(R5ToPoints, OffsetsWithoutTheirObservationAreNamed) {
    TestContext t;
    auto offset = [](const char* number, const char* type) {
        return std::string("For R5|Adr 0005|KR P") + number + "|" + type +
               "       0.100 m   |                   |                   |";
    };
    t.state.currentDocumentName = "job.r5";
    EXPECT_EQ(
        Points(t, {kStation, offset("     8", "Tv"), kEastNorth, offset("     9", "Tl")}).back(),
        "   7,1030.000,2000.000,50.000,P  ");
    EXPECT_EQ(t.user.texts(MessageKind::Warning),
              (std::vector<std::string>{
                  "job.r5:2: the target offset Tv 0.100 of point 8 is not applied: no "
                  "observation of the point with a distance follows it",
                  "job.r5:4: the target offset Tl 0.100 of point 9 is not applied: no "
                  "observation of the point with a distance follows it"}));
}

// Every line the reader cannot use is named, by what is wrong with it, and a
// file that gives no point is refused with the workspace as it was.
TEST(R5ToPoints, LinesItCannotUseAreNamedAndNoPointIsAnError) {
    TestContext t;
    t.state.currentDocumentName = "job.r5";
    const std::string wide = FormatR5CoordinateLine(5, "", "12", "538542.57000", "1.000", "2.000");
    const std::string unknown =
        "For R5|Adr 0006|KR P     8|HD      30.000 m   |h        1.000 m   |                   |";
    EXPECT_EQ(Points(t, {kEastNorth, kStation, wide, wide, wide, unknown, kEastNorth}),
              (std::vector<std::string>{" 100,1000.000,2000.000,50.000,S  ",
                                        "   7,1030.000,2000.000,50.000,P  "}));
    EXPECT_EQ(t.user.texts(MessageKind::Warning),
              (std::vector<std::string>{
                  "job.r5: lines 3-5 do not have the R5 layout (three fields of 20 columns, each "
                  "closed by a \"|\", in columns 47, 67 and 87); a value wider than its field "
                  "shifts the columns after it. The lines were not read.",
                  "job.r5: line 1 is a polar observation before any station or orientation "
                  "record; no point was computed from it.",
                  "job.r5: line 6 was not understood and was left out."}));

    t.user.messages.clear();
    t.state.currentDocumentName = "job.r5";
    const std::vector<std::string> nothing{kEastNorth, kHeights, wide};
    t.setLines(nothing);
    t.user.saveAnswers.push_back(t.dir() / "none.txt");
    EXPECT_EQ(R5ToPointsCommand(t.ctx), CommandStatus::Stopped);
    EXPECT_EQ(t.user.texts(MessageKind::Error),
              std::vector<std::string>{
                  "read 3 lines of job.r5: nothing written; passed over 2 lines (observations "
                  "before any station and station and height records); 1 line not understood "
                  "(3)"});
    EXPECT_EQ(t.user.texts(MessageKind::Warning).size(), 2u);
    EXPECT_EQ(t.workspace.lines(), nothing);
    EXPECT_FALSE(std::filesystem::exists(t.dir() / "none.txt"));
}

TEST(R5ToPoints, NamesAndCodesFollowTheOptions) {
    TestContext t;
    t.options.get<R5Options>().includeCode = false;
    t.options.get<R5Options>().reassignPointNames = true;
    EXPECT_EQ(Points(t, {kStation, kEastNorth, kEastNorth}),
              (std::vector<std::string>{"0,  1000.000,  2000.000,    50.000,",
                                        "1,  1030.000,  2000.000,    50.000,",
                                        "2,  1030.000,  2000.000,    50.000,"}));
    // Each conversion counts from 0 again.
    EXPECT_EQ(Points(t, {kStation}).front().substr(0, 2), "0,");
}

TEST(R5ToPoints, StopsWithAMessageAndLeavesTheWorkspace) {
    TestContext t;
    // An empty line after the last record is not skipped.
    const std::vector<std::string> lines{kStation, kEastNorth, ""};
    t.setLines(lines);
    t.user.saveAnswers.push_back(t.dir() / "out.txt");
    EXPECT_EQ(R5ToPointsCommand(t.ctx), CommandStatus::Stopped);
    EXPECT_EQ(t.workspace.lines(), lines);
    EXPECT_EQ(t.user.messages.at(0).text,
              "NONAME.TXT: Not a ZEISS R5 format file, Please re-check your file\nLine 3 is "
              "empty.");
    // The document keeps its name: Save must not write the R5 text over out.txt.
    EXPECT_EQ(t.state.currentDocumentName, "NONAME.TXT");
    EXPECT_FALSE(std::filesystem::exists(t.dir() / "out.txt"));

    // An "END" line ends the data, even before other lines.
    EXPECT_EQ(Points(t, {kStation, "END", "garbage"}).size(), 1u);

    // Numbers that are not numbers are errors that name the line.
    t.setLines({kStation,
                "For R5|Adr 0004|KR P     7|SD      30.000 m   |Hz      0.00x0 DMS |V1     "
                "90.0000 DMS |"});
    t.user.saveAnswers.push_back(t.dir() / "out.txt");
    try {
        R5ToPointsCommand(t.ctx);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 2, columns 51-61"), std::string::npos);
    }
    t.user.saveAnswers.push_back(std::nullopt);
    EXPECT_EQ(R5ToPointsCommand(t.ctx), CommandStatus::Cancelled);
}

TEST(R5ToPoints, APointNumberWithACommaIsRefused) {
    TestContext t;
    t.setLines(
        {"For R5|Adr 0002|KR S   1,2|X     1000.000 m   |Y     2000.000 m   |Z       50.000 m   "
         "|"});
    t.user.saveAnswers.push_back(t.dir() / "out.txt");
    EXPECT_THROW(R5ToPointsCommand(t.ctx), ConversionError);
    t.options.get<R5Options>().reassignPointNames = true;  // the name is not used then
    t.user.saveAnswers.push_back(t.dir() / "out.txt");
    EXPECT_EQ(R5ToPointsCommand(t.ctx), CommandStatus::Done);
}

TEST(ComputePolarPoint, DirectionIsTheAzimuth) {
    const StationState s{10, 20, 5, 1.5, 2.0, true};
    const auto p = ComputePolarPoint(s, {"90.0000", "DMS ", "60.0000", "DMS ", 10});
    EXPECT_NEAR(p.x, 10.0, 1e-9);
    EXPECT_NEAR(p.y, 20 + 10 * std::sin(M_PI / 3), 1e-9);
    EXPECT_NEAR(p.z, 5 + 5 + 1.5 - 2.0, 1e-9);
    const auto g = ComputePolarPoint(s, {"300.0000", "grd ", "50.0000", "gon ", 10});
    EXPECT_NEAR(g.x, 10.0, 1e-9);
    EXPECT_NEAR(g.y, 20 - 10 * std::sqrt(0.5), 1e-9);
    // Decimal degrees: 90.5 degrees is 90 degrees 30 minutes.
    const auto d = ComputePolarPoint(s, {"90.5", "DEG ", "60.0", "DEG ", 10});
    const auto dms = ComputePolarPoint(s, {"90.3000", "DMS ", "60.0000", "DMS ", 10});
    EXPECT_NEAR(d.x, dms.x, 1e-9);
    EXPECT_NEAR(d.y, dms.y, 1e-9);
}

TEST(R5ToDxf, DrawingOfTheSample) {
    TestContext t;
    t.workspace.load(DataFile("samples/polar-survey.r5"));
    t.user.saveAnswers.push_back(t.dir() / "job");
    ASSERT_EQ(R5ToDxfCommand(t.ctx), CommandStatus::Done);
    const auto& lines = t.workspace.lines();
    // 9 points, each with a POINT (10 lines), a name TEXT (14) and, but for
    // the last point whose code is blank, a CODE TEXT (14).
    EXPECT_EQ(lines.size(), 5u + 9 * 24 + 8 * 14 + 3);
    EXPECT_EQ(lines.back(), "EOF");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.begin() + 15),
              (std::vector<std::string>{"POINT", " 8", "PT", " 10", "1000.000", " 20", "2000.000",
                                        " 30", "50.000", " 0"}));
    EXPECT_TRUE(std::filesystem::exists(t.dir() / "job.dxf"));
}

}  // namespace
}  // namespace tarvosen::zeiss

namespace tarvosen {
namespace {

TEST(R5ToPointsCli, OptionsAnswerTheDialog) {
    test::TestContext t;
    const auto input = test::DataFile("samples/polar-survey.r5").string();
    const auto out = (t.dir() / "p.txt").string();
    auto run = [&](std::vector<std::string> args) {
        std::ostringstream o, e;
        return RunCli(args, o, e);
    };
    EXPECT_EQ(run({"r5-to-points", "--record-format", "mem3", "--no-code", input, "-o", out}), 0);
    // Mem/3 gives the two known points only, without codes.
    EXPECT_EQ(t.readFile(out),
              " 100,  1000.000,  2000.000,    50.000,\r\n"
              " 101,  1100.000,  2000.000,    51.200,\r\n");
    EXPECT_EQ(run({"r5-to-points", "--record-format=mem4", input, "-o", out}), 2);
    EXPECT_EQ(run({"r5-to-dxf", "--renumber=yes", input, "-o", out}), 2);
    EXPECT_EQ(run({"r5-to-points", test::CorpusFile("r5/tops-elta-r55-R4.r4").string(), "-o", out}),
              1);
}

// The R5 the point export wrote before its values were fitted (13-character
// coordinates, 91 columns) is refused by both commands, naming every line.
TEST(R5ToPointsCli, ShiftedLinesGiveNoPointAndExitOne) {
    test::TestContext t;
    Workspace list;
    list.load(test::CorpusFile("pointlist/bezitopo-topo0-pnezd.asc"));
    std::string shifted;
    long address = 1;
    for (const std::string_view line : list.view()) {
        std::vector<std::string> f;
        std::istringstream in{std::string(line)};
        for (std::string field; std::getline(in, field, ',');) f.push_back(field);
        f.resize(5);  // a line without a code
        shifted += zeiss::FormatR5CoordinateLine(address++, f[4].substr(0, 3), f[0], f[1], f[2],
                                                 f[3]) +
                   "\r\n";
    }
    const auto input = t.writeFile("shifted.r5", shifted + "END\r\n");
    for (const char* command : {"r5-to-points", "r5-to-dxf"}) {
        SCOPED_TRACE(command);
        const auto out = t.dir() / "out";
        std::ostringstream o, e;
        EXPECT_EQ(RunCli({command, input.string(), "-o", out.string()}, o, e), 1);
        EXPECT_NE(e.str().find("warning: shifted.r5: lines 1-1311 do not have the R5 layout"),
                  std::string::npos)
            << e.str();
        EXPECT_NE(e.str().find("error: read 1312 lines of shifted.r5: nothing written; passed "
                               "over 1 line (END and the lines after it); 1311 lines not "
                               "understood (1-1311)"),
                  std::string::npos)
            << e.str();
        for (const auto& entry : std::filesystem::directory_iterator(t.dir()))
            EXPECT_EQ(entry.path().filename(), "shifted.r5");  // nothing written
    }
}

}  // namespace
}  // namespace tarvosen
