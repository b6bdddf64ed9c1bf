// The record books when a file fails them: a workbook name in a folder that
// does not exist, a disk that fills up while the workbook is written.

#include <gtest/gtest.h>

#include "app/errors.h"
#include "levelling/levelling_commands.h"
#include "tests/levelling/book_fixture.h"
#include "tests/support/child_process.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using test::DiniLines;
using test::FolderListing;
using test::TestContext;

constexpr auto npos = std::string::npos;

using Handler = CommandStatus (*)(CommandContext&);
const Handler kBooks[] = {DiniBookCommand, DiniBookCheckedCommand, DiniBookGeoCommand};

DiniLines Lines(int stations) {
    DiniLines d;
    d.start("1");
    d.height("A", 10);
    for (int i = 0; i < stations; ++i)
        d.station("P" + std::to_string(i), "P" + std::to_string(i + 1), 1.5, 1.5001, 1.2, 1.2002,
                  20, 20, 21, 21, 10.3);
    d.end();
    return d;
}

TEST(RecordBookFailures, AWorkbookInAFolderThatDoesNotExistIsRefusedByName) {
    for (Handler book : kBooks) {
        TestContext t;
        t.setLines(Lines(2).lines);
        const auto before = t.workspace.lines();
        const fs::path target = t.dir() / "no-such-folder" / "book.xlsx";
        t.user.saveAnswers.push_back(target);
        try {
            book(t.ctx);
            ADD_FAILURE() << "saved into a folder that does not exist";
        } catch (const spreadsheet::SpreadsheetError& e) {
            EXPECT_NE(std::string(e.what()).find(target.string()), npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("there is no folder"), npos) << e.what();
        }
        EXPECT_EQ(t.workspace.lines(), before);
        EXPECT_TRUE(t.user.questions.empty());
        EXPECT_EQ(FolderListing(t.dir().string()), "");
    }
}

// The workbook's sheets are written to temporary files before they are
// packed: 1,000 stations stage about 600 KB of text and about 1.3 MB of sheet,
// which packs into less than 200 KB. A limit between the text and the sheet
// fails the sheet's temporary file, which must not pass unnoticed.
TEST(RecordBookFailures, AFullDiskWhileTheWorkbookIsWrittenKeepsTheOldBook) {
    TestContext t;
    t.setLines(Lines(1000).lines);
    const fs::path target = t.writeFile("book.xlsx", "an older book");
    const auto outcome = test::RunInChild({.fileSizeLimit = 900 * 1024}, [&] {
        t.user.saveAnswers.push_back(target);
        DiniBookCommand(t.ctx);
    });
    ASSERT_FALSE(outcome.crashed) << outcome.message;
    ASSERT_TRUE(outcome.threw) << "a workbook larger than the disk was reported saved";
    EXPECT_NE(outcome.message.find("Cannot save the workbook " + target.string()), npos)
        << outcome.message;
    EXPECT_EQ(t.readFile(target), "an older book");
    EXPECT_EQ(FolderListing(t.dir().string()), "book.xlsx");
}

}  // namespace
}  // namespace tarvosen
