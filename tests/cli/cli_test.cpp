#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "cli/cli_runner.h"
#include "tests/support/cli_run.h"
#include "cli/command_help.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

using test::CliRun;
using test::RunTool;

TEST(Cli, HelpListAndUsageErrors) {
    auto list = RunTool({"list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("r5-to-points"), std::string::npos);
    EXPECT_NE(list.out.find("R5 -> Pn, X, Y, Z"), std::string::npos);
    EXPECT_EQ(RunTool({"--help"}).status, 0);
    EXPECT_EQ(RunTool({}).status, 2);
    EXPECT_EQ(RunTool({"r5-to-m5", "--help"}).status, 0);

    // A command's help says what it does, then where the window has it; every
    // line, the last included, ends in a line end and fits 80 columns.
    const std::string upload = RunTool({"upload", "--help"}).out;
    EXPECT_EQ(upload.substr(0, upload.find("\n\nOptions:\n")),
              "usage: tarvosen-cli upload [OPTIONS] INPUT\n\n"
              "Send the lines of INPUT to an instrument on a serial port.\n"
              "In the window: Upload...");
    EXPECT_NE(upload.find("\n  --instrument nikon300|other  nikon300 sends Nikon 300/400/700 "
                          "coordinate\n                              frames, other plain lines"),
              std::string::npos)
        << upload;
    std::istringstream names(list.out);
    for (std::string name, rest; names >> name && std::getline(names, rest);) {
        if (name.empty() || rest.find_first_not_of(' ') == std::string::npos) continue;
        const std::string help = RunTool({name, "--help"}).out;
        EXPECT_TRUE(help.ends_with("\n")) << name;
        std::istringstream lines(help);
        for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
    }
    EXPECT_NE(list.out.find("  check                 Check files of any format the program reads"), std::string::npos)
        << list.out;

    auto unknown = RunTool({"no-such-command"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("error: unknown command"), std::string::npos);
    EXPECT_EQ(RunTool({"r5-to-m5"}).status, 2);                     // INPUT missing
    EXPECT_EQ(RunTool({"r5-to-m5", "--bogus", "x"}).status, 2);     // unknown option
    EXPECT_EQ(RunTool({"r5-to-m5", "a", "b"}).status, 2);           // two inputs
}

TEST(Cli, MissingInputIsAFailureAndNothingIsLeftInTheUsersFolder) {
    test::TestContext t;
    auto r = RunTool({"r5-to-m5", (t.dir() / "absent.r5").string(), "-o", "out.m5"});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("error: Cannot open file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(t.dir() / "out.m5"));
}

// Input that holds none of a command's records is refused with an error and
// a non-zero status, and nothing is written: a picture, an empty file, random
// bytes and a line of prose, through every conversion and book of the table.
TEST(Cli, EveryConversionRefusesInputThatHoldsNoneOfItsRecords) {
    test::TestContext t;
    std::mt19937 random(18);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(random() & 0xFF);
    const std::pair<const char*, std::string> inputs[] = {
        // The signature and header chunk of a PNG picture, then its data.
        {"picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x02\x80", 20) + noise},
        {"empty.txt", ""},
        {"noise.bin", noise},
        {"prose.txt", "Field notes, 3 June.\r\nRain after noon.\r\n"},
    };
    // Commands that check, send or replay are no conversions.
    const std::set<std::string> notConversions = {"check", "dini-audit", "download", "upload",
                                                  "replay"};
    int runs = 0;
    for (const CommandRow* row : CliCommands()) {
        const std::string command(row->cliName);
        if (notConversions.count(command)) continue;
        for (const auto& [name, bytes] : inputs) {
            const auto input = t.writeFile(name, bytes);
            const auto output = t.dir() / ("out-" + command);
            const auto run = RunTool({command, input.string(), "-o", output.string()});
            EXPECT_NE(run.status, 0) << command << " " << name << "\n" << run.err;
            EXPECT_NE(run.err.find("error: "), std::string::npos)
                << command << " " << name << "\n" << run.err;
            EXPECT_FALSE(std::filesystem::exists(output)) << command << " " << name;
            ++runs;
        }
    }
    EXPECT_GE(runs, 4 * 16);
}

// Every real instrument file through every conversion and book: it converts
// (status 0, one output, no error) or is refused (an error, a non-zero status,
// no output). Nothing crashes, and nothing is half written.
TEST(Cli, EveryRealFileConvertsOrIsRefusedWithAnError) {
    namespace fs = std::filesystem;
    test::TestContext t;
    const std::set<std::string> notConversions = {"check", "dini-audit", "download", "upload",
                                                  "replay"};
    auto outputsIn = [&](const fs::path& folder) {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(folder)) count += entry.is_regular_file();
        return count;
    };
    int converted = 0, refused = 0;
    for (const auto& entry : fs::recursive_directory_iterator(TARVOSEN_TEST_CORPUS_DIR)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
        const std::string file = entry.path().filename().string();
        for (const CommandRow* row : CliCommands()) {
            const std::string command(row->cliName);
            if (notConversions.count(command)) continue;
            const fs::path folder = t.dir() / "out";
            fs::remove_all(folder);
            fs::create_directory(folder);
            const auto run =
                RunTool({command, entry.path().string(), "-o", (folder / "result").string()});
            const bool hasError = run.err.find("error: ") != std::string::npos;
            // Only point lists are point lists: a raw file's SS records or a
            // COSA file's known points are refused by the point exports.
            if (command.starts_with("points-to-")) {
                EXPECT_EQ(run.status == 0, entry.path().parent_path().filename() == "pointlist")
                    << command << " " << file << "\n" << run.err;
            }
            if (run.status == 0) {
                ++converted;
                EXPECT_FALSE(hasError) << command << " " << file << "\n" << run.err;
                EXPECT_EQ(outputsIn(folder), 1) << command << " " << file;
            } else {
                ++refused;
                EXPECT_TRUE(hasError) << command << " " << file << " " << run.status << "\n"
                                      << run.err;
                EXPECT_EQ(outputsIn(folder), 0) << command << " " << file;
            }
        }
    }
    EXPECT_GT(converted, 50);
    EXPECT_GT(refused, converted);
}

}  // namespace
}  // namespace tarvosen
