// The record books on the command line: exit statuses, options and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "cli/cli_runner.h"
#include "spreadsheet/spreadsheet_session.h"
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

    // Data that is no levelling data stops with the reader's message, in the
    // language chosen by --language (anywhere on the line) or TARVOSEN_LANGUAGE.
    const auto notM5 = t.writeFile("points.txt", "1,100.0,200.0,10.0\n");
    const std::pair<std::vector<std::string>, std::string> languages[] = {
        {{"dini-book", notM5.string(), "-o", book},
         "error: points.txt:1: this is no levelling data the program reads (DiNi M5, Leica GSI); the line "
         "is \"1,100.0,200.0,10.0\"."},
        {{"--language", "gb", "dini-book", notM5.string(), "-o", book},
         "error: points.txt:1：这不是本程序能读取的水准数据（DiNi M5、Leica GSI）；该行为“1,100.0,200.0,10.0”。"},
        {{"dini-book", notM5.string(), "-o", book, "--language=big5"},
         "error: points.txt:1：這不是本程式能讀取的水準資料（DiNi M5、Leica GSI）；該行為「1,100.0,200.0,10.0」。"},
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

// The text of a cell of a saved workbook.
std::string CellOf(const std::string& book, const std::string& sheet, const std::string& cell) {
    spreadsheet::SpreadsheetSession session;
    session.OpenWorkbook(book);
    const auto found = session.FindSheet(sheet);
    const std::string text = found ? found->Range(cell).ValueText() : "no sheet " + sheet;
    session.Close();
    return text;
}

// The high-order book bounds the accumulated sight-distance difference in
// size. With only that limit in force (1.5 m), the count of limits exceeded
// is the count of stations beyond -1.5 m or +1.5 m, worked out from the
// files by summing each station's mean back less mean fore distance:
// push0809 68 below and 44 above, push1609 41 and 7, 251219 21 and 18.
TEST(RecordBookCli, AccumulatedSightDistanceDifferencesAreBoundedEitherWay) {
    test::TestContext t;
    const std::pair<const char*, int> files[] = {{"m5/nivtropy-dini-push0809.dat", 68 + 44},
                                                 {"m5/nivtropy-dini-push1609.dat", 41 + 7},
                                                 {"m5/nivtropy-dini-251219.dat", 21 + 18}};
    for (const auto& [file, exceeded] : files) {
        const auto run = RunTool({"dini-book-checked", "--limits", "1000,1000,1.5,1000,1000",
                                  test::CorpusFile(file).string(), "-o",
                                  (t.dir() / "c.xlsx").string()});
        EXPECT_EQ(run.status, kExitDone) << run.err;
        EXPECT_NE(run.err.find("information: Limits exceeded: " + std::to_string(exceeded) + "."),
                  std::string::npos)
            << file << "\n" << run.err;
    }
}

// The two books without a place for intermediate sights say which they left
// out (the file's 44 Rz records, lines found with grep); the geological
// institute's book lists them and says nothing.
TEST(RecordBookCli, IntermediateSightsLeftOutAreNamed) {
    test::TestContext t;
    const std::string file = test::CorpusFile("m5/nivtropy-dini-251219.dat").string();
    const std::string book = (t.dir() / "b.xlsx").string();
    const std::string english =
        "warning: nivtropy-dini-251219.dat: 44 intermediate sights (lines 18-20, 32-35, 59-61, 67, "
        "73, 79, 97, 158-160, 199-203, 209, 210, 212, 226, 228-231, 237, 243-250, 261, 262 "
        "and 268-270) have no place in this book and were left out; the geological institute's book "
        "lists them.\n";
    for (const char* command : {"dini-book", "dini-book-checked"}) {
        const auto run = RunTool({command, file, "-o", book});
        EXPECT_EQ(run.status, kExitDone) << run.err;
        EXPECT_NE(run.err.find(english), std::string::npos) << command << "\n" << run.err;
    }
    const auto gb = RunTool({"dini-book", "--language", "gb", file, "-o", book});
    EXPECT_NE(gb.err.find("warning: nivtropy-dini-251219.dat：44 个中间视（第 18至20、32至35、"),
              std::string::npos)
        << gb.err;
    const auto geo = RunTool({"dini-book-geo", file, "-o", book});
    EXPECT_EQ(geo.status, kExitDone) << geo.err;
    EXPECT_EQ(geo.err.find("intermediate"), std::string::npos) << geo.err;
}

// The checked book's title names the order whose limits it checks; the
// geological institute's book leaves the date empty unless one is given.
TEST(RecordBookCli, TitleNamesTheOrderAndNoDateIsMadeUp) {
    test::TestContext t;
    const std::string file = test::CorpusFile("m5/bookcode-dini03-0624CH67.dat").string();
    const std::string book = (t.dir() / "b.xlsx").string();
    const std::pair<std::vector<std::string>, std::string> titles[] = {
        {{"--profile", "gb12898-4"}, "四等电子水准测量记录手簿"},
        {{"--profile", "gb12898-4", "--class", "2"}, "四等电子水准测量记录手簿"},
        {{"--profile", "gb12898-4", "--limits", "30,1,3,0.4,0.6"}, "一等电子水准测量记录手簿"},
    };
    for (const auto& [options, title] : titles) {
        std::vector<std::string> args{"dini-book-checked"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {file, "-o", book});
        ASSERT_EQ(RunTool(args).status, kExitDone) << options[0];
        EXPECT_EQ(CellOf(book, "水准线1", "A1"), title) << options[0] << " " << options[1];
    }

    ASSERT_EQ(RunTool({"dini-book-geo", file, "-o", book}).status, kExitDone);
    for (const char* cell : {"D5", "F5", "H5"}) EXPECT_EQ(CellOf(book, "水准线1", cell), "") << cell;
    ASSERT_EQ(RunTool({"dini-book-geo", "--date", "2024-06-24", file, "-o", book}).status,
              kExitDone);
    EXPECT_EQ(CellOf(book, "水准线1", "D5") + "/" + CellOf(book, "水准线1", "F5") + "/" +
                  CellOf(book, "水准线1", "H5"),
              "2024/6/24");
}

}  // namespace
}  // namespace tarvosen
