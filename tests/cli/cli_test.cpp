#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_runner.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

struct CliRun {
    int status;
    std::string out, err;
};

CliRun RunTool(std::vector<std::string> args) {
    std::ostringstream out, err;
    int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(Cli, HelpListAndUsageErrors) {
    auto list = RunTool({"list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.out.find("r5-to-points"), std::string::npos);
    EXPECT_NE(list.out.find("R5 -> Pn, X, Y, Z"), std::string::npos);
    EXPECT_EQ(RunTool({"--help"}).status, 0);
    EXPECT_EQ(RunTool({}).status, 2);
    EXPECT_EQ(RunTool({"r5-to-m5", "--help"}).status, 0);

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

}  // namespace
}  // namespace tarvosen
