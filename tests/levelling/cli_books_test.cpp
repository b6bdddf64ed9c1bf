// The record books on the command line: exit statuses, options and messages.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_runner.h"
#include "tests/levelling/book_fixture.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string err;
};

CliRun RunTool(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, err.str()};
}

TEST(RecordBookCli, StatusesAndMessages) {
    test::TestContext t;
    const std::string sample = test::DataFile("samples/dini-levelling.dat").string();
    const std::string book = (t.dir() / "book").string();

    auto done = RunTool({"dini-book-checked", "--class", "2", sample, "-o", book});
    EXPECT_EQ(done.status, kExitDone) << done.err;
    EXPECT_TRUE(fs::exists(book + ".xlsx"));
    EXPECT_NE(done.err.find("information: 文件转换完毕，结果文件存于：" + book + ".xlsx"),
              std::string::npos)
        << done.err;

    // A limit that is not a number is the conversion error of the dialog.
    auto bad = RunTool({"dini-book-checked", "--limits", "30,0.5,1.5,abc,0.4", sample, "-o",
                        (t.dir() / "bad.xlsx").string()});
    EXPECT_EQ(bad.status, kExitFailure);
    EXPECT_NE(bad.err.find("\"abc\" is not a valid number (tolerance limit 两次读数差≦)"),
              std::string::npos)
        << bad.err;
    EXPECT_FALSE(fs::exists(t.dir() / "bad.xlsx"));

    EXPECT_EQ(RunTool({"dini-book-checked", "--class", "4", sample, "-o", book}).status,
              kExitUsage);
    EXPECT_EQ(RunTool({"dini-book-geo", "--date", "2024-13-01", sample, "-o", book}).status,
              kExitUsage);

    // Data that is not M5 stops with the book's own message.
    const auto notM5 = t.writeFile("points.txt", "1,100.0,200.0,10.0\n");
    auto stopped = RunTool({"dini-book", notM5.string(), "-o", book});
    EXPECT_EQ(stopped.status, kExitStopped);
    EXPECT_NE(stopped.err.find("error: 对不起，你所处理的文件不是蔡司的M5格式的文件"),
              std::string::npos);

    auto geo = RunTool({"dini-book-geo", "--observer", "李明", "--date", "2024-06-24", sample, "-o",
                        (t.dir() / "geo.xlsx").string()});
    EXPECT_EQ(geo.status, kExitDone) << geo.err;
}

}  // namespace
}  // namespace tarvosen
