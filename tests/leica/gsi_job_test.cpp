// A small GSI16 job worked by hand: a station, points observed in gon,
// degrees and DMS (slope distance and zenith angle, or horizontal distance
// and height difference), one with the instrument's coordinates, a direction
// without a distance and a planted unknown word; run through the command line.

#include <gtest/gtest.h>

#include "tests/support/cli_run.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

const char* const kJob =
    "*410001+0000000000000001 42....+0000000000000998 \n"
    "*110002+0000000000000ST1 84..10+0000000001000000 85..10+0000000002000000 "
    "86..10+0000000000100000 88..10+0000000000001500 \n"
    "*110003+00000000000000P1 21.002+0000000010000000 22.002+0000000010000000 "
    "31..00+0000000000010000 87..10+0000000000001500 \n"
    "*110004+00000000000000P2 21.003+0000000004500000 22.003+0000000006000000 "
    "31..00+0000000000020000 \n"
    "*110005+00000000000000P3 21.004+0000000018000000 32...8+0000000000500000 "
    "33...8-0000000000100000 \n"
    "*110006+00000000000000K1 81..00+0000000001234567 82..00+0000000002345678 "
    "83..00+0000000000098765 \n"
    "*110007+00000000000000P4 21.002+0000000005000000 \n"
    "*110008+00000000000000P5 99....+0000000000000001 \n";

TEST(GsiJob, PointsComputedInEachUnitAndEveryLineAccountedFor) {
    test::TestContext t;
    const auto job = t.writeFile("job.gsi", kJob);
    const auto out = t.dir() / "job.txt";
    const auto run = test::RunTool({"gsi-to-points", job.string(), "-o", out.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    // P1: 100 gon east, level, 10 m. P2: 45°, zenith 60°, 20 m: 20 sin 60° sin 45°
    // = 12.247 east and north, 20 cos 60° = 10 up. P3: 180°, 5 m flat, 1 m down,
    // the target height 1.5 m kept from P1.
    EXPECT_EQ(t.readFile(out),
              "ST1,1000.000,2000.000,100.000,\r\n"
              "P1,1010.000,2000.000,100.000,\r\n"
              "P2,1012.247,2012.247,110.000,\r\n"
              "P3,1000.000,1995.000,99.000,\r\n"
              "K1,1234.567,2345.678,98.765,\r\n");
    EXPECT_NE(run.err.find("warning: job.gsi: line 8 was not understood and was left out."),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("note: read 8 lines of job.gsi: 5 points written; passed over 2 lines "
                           "(code blocks and directions without a distance); 1 line not "
                           "understood (8)"),
              std::string::npos)
        << run.err;

    // Strictly read, the unknown word stops the run and nothing is written.
    const auto strictOut = t.dir() / "strict.txt";
    const auto strict = test::RunTool({"gsi-to-points", "--strict", job.string(), "-o", strictOut.string()});
    EXPECT_EQ(strict.status, 1);
    EXPECT_FALSE(std::filesystem::exists(strictOut));

    // A unit code GSI does not define is refused, naming the line and the code.
    std::string bad = kJob;
    bad.replace(bad.find("31..00+0000000000020000"), 6, "31..09");
    const auto badJob = t.writeFile("bad.gsi", bad);
    const auto refused = test::RunTool({"gsi-to-points", badJob.string(), "-o", (t.dir() / "bad.txt").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("bad.gsi, line 4: the word 31 has the unit code \"9\""), std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(t.dir() / "bad.txt"));

    // The same set-up to COSA: P1, observed first, is the backsight (direction 0);
    // P2 at 45° is 315° from it, 17.32 m away horizontally.
    const auto cosa = test::RunTool({"gsi-to-cosa", job.string()});
    ASSERT_EQ(cosa.status, 0) << cosa.err;
    for (const char* line : {"\r\nST1\r\n", "\r\nP1,L,0\r\n", "\r\nP1,S,10\r\n", "\r\nP2,L,315.0000\r\n",
                             "\r\nP2,S,17.3205080756888\r\n"})
        EXPECT_NE(cosa.out.find(line), std::string::npos) << line << cosa.out;
}

}  // namespace
}  // namespace tarvosen
