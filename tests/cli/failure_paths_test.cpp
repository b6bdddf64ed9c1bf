// The command-line program when its output cannot be written: a disk that
// fills up in the middle of the file, standard output on a full device. Each
// ends with exit status 3 and a message naming the file; an older file stays
// as it was and no temporary is left.

#include <gtest/gtest.h>

#include <algorithm>
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
    // A limit below the drawing's size and above the input's fails the
    // drawing's save only.
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
}

// Conversions work on lines in memory: run by an ordinary user from a folder
// it cannot write, with a temporary folder of its own, every command succeeds
// and leaves no file anywhere but its output.
TEST(CliFailures, CommandsRunFromAReadOnlyFolderWriteOnlyTheirOutput) {
    TestContext t;
    const auto all = fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all;
    const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                          fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(t.dir(), readOnly);
    for (const char* name : {"ro", "out", "tmp"}) fs::create_directory(t.dir() / name);
    fs::permissions(t.dir() / "out", all);
    fs::permissions(t.dir() / "tmp", all);
    for (const char* sample : {"polar-survey.r5", "polar-survey.m5", "polar-survey.rec",
                               "points-with-codes.txt", "nikon-300-400.raw",
                               "traverse-four-stations.raw", "dini-levelling.dat"})
        t.writeFile(std::string("ro/") + sample,
                    t.readFile(test::DataFile(std::string("samples/") + sample)));
    fs::permissions(t.dir() / "ro", readOnly);

    const std::vector<std::vector<std::string>> runs = {
        {"r5-to-points", "polar-survey.r5", "a.txt"},
        {"r5-to-dxf", "polar-survey.r5", "a.dxf"},
        {"r5-to-m5", "polar-survey.r5", "a.m5"},
        {"m5-to-r5", "polar-survey.m5", "a.r5"},
        {"rec500-to-m5", "polar-survey.rec", "b.m5"},
        {"points-to-dxf", "points-with-codes.txt", "b.dxf"},
        {"points-to-r5", "points-with-codes.txt", "b.r5"},
        {"points-to-cor", "points-with-codes.txt", "b.cor"},
        {"points-to-org", "points-with-codes.txt", "b.org"},
        {"nikon300-to-points", "nikon-300-400.raw", "b.txt"},
        {"nikon-to-cosa", "traverse-four-stations.raw", "a.in2"},
        {"nikon-to-traverse", "traverse-four-stations.raw", "traverse.txt", "--book",
         (t.dir() / "out" / "traverse.xlsx").string()},
        {"dini-book", "dini-levelling.dat", "book.xlsx"},
        {"dini-book-checked", "dini-levelling.dat", "checked.xlsx"},
        {"dini-book-geo", "dini-levelling.dat", "geo.xlsx"},
    };
    std::vector<std::string> outputs;
    for (const auto& run : runs) {
        std::string command = "cd '" + (t.dir() / "ro").string() + "' && TMPDIR='" +
                              (t.dir() / "tmp").string() + "' exec " + TARVOSEN_CLI_PATH + " " +
                              run[0] + " " + run[1] + " -o '" + (t.dir() / "out" / run[2]).string() +
                              "'";
        for (std::size_t i = 3; i < run.size(); ++i) command += " '" + run[i] + "'";
        const auto outcome = RunProgramInChild({.fileSizeLimit = std::nullopt, .unprivileged = true},
                                               {"/bin/sh", "-c", command});
        EXPECT_EQ(outcome.exitCode, 0) << command << "\n" << outcome.output;
        for (std::size_t i = 2; i < run.size(); i += 2)
            outputs.push_back(fs::path(run[i]).filename().string());
    }
    std::sort(outputs.begin(), outputs.end());
    std::string expected;
    for (const auto& name : outputs) expected += (expected.empty() ? "" : " ") + name;
    fs::permissions(t.dir(), all);
    fs::permissions(t.dir() / "ro", all);
    EXPECT_EQ(FolderListing((t.dir() / "ro").string()),
              "dini-levelling.dat nikon-300-400.raw points-with-codes.txt polar-survey.m5 "
              "polar-survey.r5 polar-survey.rec traverse-four-stations.raw");
    EXPECT_EQ(FolderListing((t.dir() / "tmp").string()), "");
    EXPECT_EQ(FolderListing((t.dir() / "out").string()), expected);
    EXPECT_EQ(FolderListing(t.dir().string()), "out ro tmp");
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
