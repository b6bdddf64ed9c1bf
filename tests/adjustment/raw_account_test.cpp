// Every line of a Nikon raw file and of a known-point list accounted for, on
// the command line: a setting the reader does not know, records of no kind
// of the format, strict reading, and the summary of a real download.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "adjustment/adjustment_commands.h"
#include "cli/cli_runner.h"
#include "tests/support/cli_run.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using test::RunTool;

// One set-up, its backsight without a distance, two observations; line 6 is
// a record of no kind of the format, line 8 an observation garbled in
// transfer (letters O for zeros).
constexpr const char* kPlanted =
    "CO,Nikon RAW data format V2.00\n"
    "CO,Angle Units: DDDMMSS\n"
    "ST,A1,,B0,,1.450,0.0000,0.0000\n"
    "F1,B0,1.600,,0.0000,90.0000,10:20:00\n"
    "SS,B0,1.600,50.000,0.0000,90.0000,10:20:45,BS\n"
    "ZZ,planted,record\n"
    "SS,P1,1.600,100.000,55.3012,90.0000,10:21:00,CODE\n"
    "SS,P2,1.6OO,1OO.000,10.0000,90.0000,10:22:00\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

TEST(NikonRawAccount, UnknownSettingRecordAndGarbledLine) {
    test::TestContext t;
    const fs::path raw = t.writeFile("planted.raw", kPlanted);
    const fs::path known = t.writeFile("known.txt", "K1,100.000,200.000\n\nB0,150.000,250.000,10.0\n");
    const std::string out = (t.dir() / "out.in2").string();

    // A unit or setting the reader does not know stops the run, naming the
    // file, the line and the value; nothing is written.
    for (const auto& [setting, said] :
         {std::pair{"CO,Angle Units: Mils", "names units this program cannot convert"},
          std::pair{"CO,Zero VA: Nadir", "names a setting this program cannot read"}}) {
        const fs::path bad =
            t.writeFile("bad.raw", Replaced(kPlanted, "CO,Angle Units: DDDMMSS", setting));
        for (const char* command : {"nikon-to-cosa", "nikon-to-traverse"}) {
            const auto run = RunTool({command, bad.string(), "-o", out});
            EXPECT_EQ(run.status, kExitFailure) << command;
            EXPECT_NE(run.err.find(std::string("error: bad.raw: line 2: \"") + setting + "\" " + said),
                      std::string::npos)
                << run.err;
            EXPECT_FALSE(fs::exists(out));
        }
    }

    // Without it: lines 6 and 8 are named once, the run says what it read.
    // Raw: ST and two SS used, two CO and the F1 passed over; the list: two
    // points and a blank line.
    const auto cosa = RunTool({"nikon-to-cosa", "--known-points", known.string(), raw.string(),
                               "-o", out});
    ASSERT_EQ(cosa.status, kExitDone) << cosa.err;
    EXPECT_EQ(cosa.err,
              "warning: planted.raw: 2 lines were not understood and were left out: 6 and 8.\n"
              "note: read 11 lines of 2 files: 1 station, 2 observations and 2 known points "
              "written to the observation file; passed over 4 lines (notes, settings, backsight "
              "records and blank lines); 2 lines not understood\n");
    // Directions from the backsight at 0°, distances reduced at zenith 90°.
    EXPECT_EQ(t.readFile(out),
              "2,2,2\r\nK1,100.000,200.000\r\nB0,150.000,250.000\r\nA1\r\nB0,L,0\r\n"
              "B0,L,  0.0000\r\nB0,S,50\r\nP1,L, 55.3012\r\nP1,S,100\r\n");
    fs::remove(out);

    const auto text = RunTool({"nikon-to-traverse", "--date", "2026-12-08", raw.string(), "-o", out});
    ASSERT_EQ(text.status, kExitDone) << text.err;
    EXPECT_NE(text.err.find("note: read 8 lines of planted.raw: 1 station written to the "
                            "adjustment text; passed over 3 lines (notes, settings and backsight "
                            "records); 2 lines not understood (6 and 8)\n"),
              std::string::npos)
        << text.err;
    fs::remove(out);

    // Strictly, the same lines are an error and nothing is written.
    for (const char* command : {"nikon-to-cosa", "nikon-to-traverse"}) {
        const auto strict = RunTool({"--strict", command, raw.string(), "-o", out});
        EXPECT_EQ(strict.status, kExitStopped) << command;
        EXPECT_NE(strict.err.find("error: planted.raw: lines not understood: 6 and 8. Reading "
                                  "strictly, nothing was written."),
                  std::string::npos)
            << strict.err;
        EXPECT_EQ(strict.err.find("note:"), std::string::npos) << strict.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

// The Nivo 3.M download of the corpus: its lines counted by their record
// code, here, give the summary's numbers; its first line is the capture
// tool's "Waiting to receive…".
TEST(NikonRawAccount, RealDownloadIsCountedByRecordCode) {
    test::TestContext t;
    const fs::path raw = test::CorpusFile("nikon_raw/taheoport-nivo3m-161226-1.raw");
    std::istringstream in(t.readFile(raw));
    std::size_t lines = 0, notes = 0, stations = 0, observations = 0, other = 0;
    for (std::string line; std::getline(in, line); ++lines) {
        const std::string code = line.substr(0, 3);
        (code == "CO," ? notes : code == "ST," ? stations : code == "SS," ? observations : other)++;
    }
    ASSERT_EQ(other, 1u);
    const auto run = RunTool({"nikon-to-cosa", raw.string(), "-o", (t.dir() / "out.in2").string()});
    ASSERT_EQ(run.status, kExitDone) << run.err;
    EXPECT_NE(run.err.find("warning: taheoport-nivo3m-161226-1.raw: line 1 was not understood"),
              std::string::npos);
    EXPECT_NE(run.err.find("note: read " + std::to_string(lines) +
                           " lines of taheoport-nivo3m-161226-1.raw: " + std::to_string(stations) +
                           " stations, " + std::to_string(observations) +
                           " observations and 0 known points written to the observation file; "
                           "passed over " + std::to_string(notes) +
                           " lines (notes and settings); 1 line not understood (1)\n"),
              std::string::npos)
        << run.err;

    // The check of the format counts the lines the same way.
    const auto checks = AdjustmentFormatChecks();
    ASSERT_EQ(checks.size(), 1u);
    const Workspace data = test::LinesOfFile(raw);
    ASSERT_TRUE(checks[0].recognises(data));
    EXPECT_FALSE(checks[0].recognises(
        test::LinesOfFile(test::CorpusFile("pointlist/bookcode-cass-campus.dat"))));
    const auto account = checks[0].account(t.ctx, data);
    ASSERT_TRUE(account);
    EXPECT_EQ(account->usedCount(), stations + observations);
    EXPECT_EQ(account->passedOverCount(), notes);
    EXPECT_EQ(account->notUnderstoodCount(), 1u);
}

}  // namespace
}  // namespace tarvosen
