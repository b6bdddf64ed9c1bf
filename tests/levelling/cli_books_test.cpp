// The record books on the command line: exit statuses, options and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "cli/cli_runner.h"
#include "tests/support/cli_run.h"
#include "tests/levelling/book_fixture.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

using test::CliRun;
using test::RunTool;

TEST(RecordBookCli, StatusesAndMessages) {
    test::TestContext t;
    const std::string sample = test::DataFile("samples/dini-levelling.dat").string();
    const std::string book = (t.dir() / "book").string();

    auto done = RunTool({"dini-book-checked", "--class", "2", sample, "-o", book});
    EXPECT_EQ(done.status, kExitDone) << done.err;
    EXPECT_TRUE(fs::exists(book + ".xlsx"));
    // No question meant for the window: what was written and what the checks found.
    EXPECT_EQ(done.err.find("?"), std::string::npos) << done.err;
    EXPECT_NE(done.err.find("information: wrote " + book + ".xlsx\ninformation: Limits exceeded: "),
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
    // A well-formed date that is no calendar day is named as such.
    const auto noDay = RunTool({"dini-book-geo", "--date", "2024-02-30", sample, "-o", book});
    EXPECT_EQ(noDay.status, kExitUsage);
    EXPECT_NE(noDay.err.find("--date 2024-02-30 is not a calendar date"), std::string::npos)
        << noDay.err;

    // Data that is not M5 stops with the book's own message, in the language
    // chosen by --language (anywhere on the line) or TARVOSEN_LANGUAGE.
    const auto notM5 = t.writeFile("points.txt", "1,100.0,200.0,10.0\n");
    const std::pair<std::vector<std::string>, std::string> languages[] = {
        {{"dini-book", notM5.string(), "-o", book},
         "error: points.txt: Sorry, the file you are processing is not Zeiss M5 data.\nLine 1"},
        {{"--language", "gb", "dini-book", notM5.string(), "-o", book},
         "error: points.txt: 对不起，你所处理的文件不是蔡司的M5格式的文件\n第 1 行"},
        {{"dini-book", notM5.string(), "-o", book, "--language=big5"},
         "error: points.txt: 對不起，你所處理的檔案不是蔡司的M5格式的檔案\n第 1 行"},
    };
    for (const auto& [args, message] : languages) {
        auto stopped = RunTool(args);
        EXPECT_EQ(stopped.status, kExitStopped);
        // The prefix and the line of the message are what a terminal shows.
        std::string flat = message;
        std::replace(flat.begin(), flat.end(), '\n', ' ');
        EXPECT_NE(stopped.err.find(flat), std::string::npos) << stopped.err;
    }
    ::setenv("TARVOSEN_LANGUAGE", "gb", 1);
    auto gb = RunTool({"dini-book-checked", "--class", "2", sample, "-o", book});
    auto english = RunTool({"--language", "en", "dini-book-checked", "--class", "2", sample, "-o",
                            book});
    ::setenv("TARVOSEN_LANGUAGE", "klingon", 1);
    auto wrong = RunTool({"list"});
    ::unsetenv("TARVOSEN_LANGUAGE");
    EXPECT_NE(gb.err.find("information: 已写入 " + book + ".xlsx\ninformation: 超限项数："),
              std::string::npos)
        << gb.err;
    EXPECT_EQ(english.err, done.err);  // --language overrides the variable
    EXPECT_EQ(wrong.status, kExitUsage);

    auto geo = RunTool({"dini-book-geo", "--observer", "李明", "--date", "2024-06-24", sample, "-o",
                        (t.dir() / "geo.xlsx").string()});
    EXPECT_EQ(geo.status, kExitDone) << geo.err;
}

}  // namespace
}  // namespace tarvosen
