// Every line of a point list and of Nikon 300/400 raw data accounted for, on
// the command line: lines that are no record, strict reading, and the
// summary of real point lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli_runner.h"
#include "points/point_commands.h"
#include "tests/support/cli_run.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using test::RunTool;

TEST(PointListAccount, LinesThatAreNoPointAreNamedAndStopAStrictRun) {
    test::TestContext t;
    // Line 3 blank; 4 and 5 are no point line (a planted record, a garbled
    // line with no comma), read as they stand; 6 has no X to draw; 4 and 7
    // have a Z that is no number.
    const fs::path list = t.writeFile("planted.txt",
                                      "P1,100.000,200.000,10.000,K\n"
                                      "P2,110.000,210.000,11.000,\n"
                                      "\n"
                                      "ZZ,planted\n" +
                                          std::string(300, '#') +
                                          "\n"
                                          "P4,,,,\n"
                                          "P5,130.000,230.000,abc,\n");
    const std::string out = (t.dir() / "out").string();

    const auto dxf = RunTool({"points-to-dxf", list.string(), "-o", out});
    ASSERT_EQ(dxf.status, kExitDone) << dxf.err;
    EXPECT_NE(dxf.err.find("warning: planted.txt: lines 4 and 5 had fewer than the three commas"),
              std::string::npos)
        << dxf.err;
    EXPECT_NE(dxf.err.find("warning: planted.txt: lines 4 and 7 had a Z that is not a number"),
              std::string::npos);
    // Line 6 is named by the general warning only, the others by their own;
    // lines 1, 2, 4 and 7 are drawn.
    EXPECT_NE(dxf.err.find("warning: planted.txt: line 6 was not understood and was left out.\n"
                           "note: read 7 lines of planted.txt: 4 points written; passed over 1 "
                           "line (blank lines); 4 lines not understood (4-7)\n"),
              std::string::npos)
        << dxf.err;

    // EPSW writes every record, read as it stands.
    const auto cor = RunTool({"points-to-cor", list.string(), "-o", out});
    ASSERT_EQ(cor.status, kExitDone);
    EXPECT_NE(cor.err.find("note: read 7 lines of planted.txt: 6 points written; passed over 1 "
                           "line (blank lines); 2 lines not understood (4 and 5)\n"),
              std::string::npos)
        << cor.err;
    fs::remove(out);

    for (const char* command : {"points-to-dxf", "points-to-r5", "points-to-cor", "points-to-org"}) {
        const auto strict = RunTool({command, "--strict", list.string(), "-o", out});
        EXPECT_EQ(strict.status, kExitStopped) << command;
        EXPECT_NE(strict.err.find("error: planted.txt: lines not understood: 4"), std::string::npos)
            << strict.err;
        EXPECT_FALSE(fs::exists(out)) << command;
    }
}

TEST(Nikon300Account, HeaderOtherRecordsAndLinesThatAreNoRecord) {
    test::TestContext t;
    const fs::path raw = t.writeFile("n.raw",
                                     "2,9,DTM-352,NS002,JOB,\r\n"
                                     "1,1,MD,101,KERB,3512382.131,498217.622,44.402,1.5,\r\n"
                                     "1,2,MD,ST1,S,1,2,3,\r\n"
                                     "XX,garbage\r\n"
                                     "1,1,MD,P9,C,1,2\r\n"
                                     "\r\n" +
                                         std::string(300, 'x') + "\r\n");
    const std::string out = (t.dir() / "out.txt").string();
    const auto run = RunTool({"nikon300-to-points", raw.string(), "-o", out});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_EQ(t.readFile(out), "101,3512382.131,498217.622,44.402,KERB\r\nP9,1,2,,C\r\n");
    EXPECT_NE(run.err.find("warning: n.raw: line 5 had a coordinate record without"),
              std::string::npos);
    EXPECT_NE(run.err.find("warning: n.raw: 2 lines were not understood and were left out: 4 and "
                           "7.\nnote: read 7 lines of n.raw: 2 points written; passed over 3 lines "
                           "(header lines, records of other types and blank lines); 3 lines not "
                           "understood (4, 5 and 7)\n"),
              std::string::npos)
        << run.err;
    fs::remove(out);

    const auto strict = RunTool({"--strict", "nikon300-to-points", raw.string(), "-o", out});
    EXPECT_EQ(strict.status, kExitStopped);
    EXPECT_NE(strict.err.find("error: n.raw: lines not understood: 4, 5 and 7."), std::string::npos)
        << strict.err;
    EXPECT_FALSE(fs::exists(out));
}

// The corpus's point lists: their lines with text, counted here, are the
// points each export writes; the format checks tell them from Nikon raw.
TEST(PointListAccount, RealListsAreReadWhole) {
    test::TestContext t;
    const auto checks = PointFormatChecks();
    ASSERT_EQ(checks.size(), 2u);
    const std::string out = (t.dir() / "out.org").string();
    for (const char* name : {"bookcode-cass-campus.dat", "bezitopo-topo0-pnezd.asc",
                             "taheoport-333-space-sep.dat"}) {
        const fs::path file = test::CorpusFile(std::string("pointlist/") + name);
        std::istringstream in(t.readFile(file));
        std::size_t points = 0;
        for (std::string line; std::getline(in, line);)
            if (line.find_first_not_of(" \t\r") != std::string::npos) ++points;
        const auto run = RunTool({"points-to-org", file.string(), "-o", out});
        ASSERT_EQ(run.status, kExitDone) << run.err;
        const std::string n = std::to_string(points);
        EXPECT_NE(run.err.find("note: read " + n + " lines of " + name + ": " + n +
                               " points written\n"),
                  std::string::npos)
            << run.err;
        std::istringstream written(t.readFile(out));
        std::size_t lines = 0;
        for (std::string line; std::getline(written, line);) ++lines;
        EXPECT_EQ(lines, points) << name;

        const Workspace data = test::LinesOfFile(file);
        EXPECT_FALSE(checks[0].recognises(data)) << name;
        ASSERT_TRUE(checks[1].recognises(data)) << name;
        EXPECT_EQ(checks[1].account(t.ctx, data)->usedCount(), points) << name;
    }
    for (const char* raw : {"nikon_raw/tops-nikon-npl352.raw", "nikon_raw/tops-nikon-dtm330.raw",
                            "r5/tops-elta-r55.r5"})
        EXPECT_FALSE(checks[1].recognises(test::LinesOfFile(test::CorpusFile(raw)))) << raw;
    EXPECT_TRUE(checks[0].recognises(test::LinesOfFile(test::DataFile("samples/nikon-300-400.raw"))));
}

}  // namespace
}  // namespace tarvosen
