// The command-line program when its output cannot be written: a disk that
// fills up in the middle of the file, standard output on a full device. Each
// ends with exit status 3 and a message naming the file; an older file stays
// as it was and no temporary is left.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/child_process.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using test::FolderListing;
using test::RunProgramInChild;
using test::TestContext;

constexpr auto npos = std::string::npos;

// A copy of a shipped sample in the test's folder.
fs::path Sample(const TestContext& t, const std::string& name) {
    return t.writeFile(name, t.readFile(test::DataFile("samples/" + name)));
}

TEST(CliFailures, ADiskThatFillsUpWhileTheDrawingIsWrittenKeepsTheOldFile) {
    TestContext t;
    const fs::path input = Sample(t, "elta-r55-job.r5");
    const auto probe = RunProgramInChild(
        {}, {TARVOSEN_CLI_PATH, "r5-to-dxf", input, "-o", (t.dir() / "probe.dxf").string()});
    ASSERT_EQ(probe.exitCode, 0) << probe.output;
    const std::string drawing = t.readFile(t.dir() / "probe.dxf");
    std::size_t lines = 0;
    for (std::size_t i = 0; (i = drawing.find("\r\n", i)) != npos; i += 2) ++lines;
    // The last stage writes the drawing with LF line ends and the saved
    // drawing has CR LF: a limit between the two fails the drawing only.
    const std::size_t limit = drawing.size() - lines / 2;
    ASSERT_GT(limit, 2 * fs::file_size(input));

    const fs::path target = t.writeFile("points.dxf", "old");
    const auto run = RunProgramInChild({.fileSizeLimit = limit},
                                       {TARVOSEN_CLI_PATH, "r5-to-dxf", input, "-o", target});
    EXPECT_EQ(run.exitCode, 3) << run.output;
    EXPECT_NE(
        run.output.find("error: Cannot write file \"" + target.string() + "\": File too large"),
        npos)
        << run.output;
    EXPECT_EQ(t.readFile(target), "old");
    EXPECT_EQ(FolderListing(t.dir().string()), "elta-r55-job.r5 points.dxf probe.dxf");

    // Full while the last stage writes its temporary drawing.
    const auto stage = RunProgramInChild({.fileSizeLimit = drawing.size() - lines - 100},
                                         {TARVOSEN_CLI_PATH, "r5-to-dxf", input, "-o", target});
    EXPECT_EQ(stage.exitCode, 3) << stage.output;
    EXPECT_NE(stage.output.find("dxftmp.tmp\": File too large"), npos) << stage.output;
    EXPECT_EQ(t.readFile(target), "old");
}

TEST(CliFailures, StandardOutputOnAFullDeviceIsAFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    TestContext t;
    const fs::path input = Sample(t, "polar-survey.r5");
    const std::string cli = TARVOSEN_CLI_PATH;
    for (const std::string& command : {cli + " r5-to-m5 '" + input.string() + "' >/dev/full",
                                       cli + " list >/dev/full", cli + " --version >/dev/full"}) {
        const auto run = RunProgramInChild({}, {"/bin/sh", "-c", command});
        EXPECT_EQ(run.exitCode, 3) << command << "\n" << run.output;
        EXPECT_NE(
            run.output.find("error: Cannot write to standard output: No space left on device"),
            npos)
            << command << "\n"
            << run.output;
    }
}

}  // namespace
}  // namespace tarvosen
