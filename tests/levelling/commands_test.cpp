// The flow of the three record-book commands: dialogs, staging, the save
// dialog, messages and the final confirmation; the command-line options.
#include <gtest/gtest.h>

#include "app/command.h"
#include "app/errors.h"
#include "levelling/levelling_commands.h"
#include "levelling/levelling_options.h"
#include "levelling/m5_levelling_reader.h"
#include "levelling/record_book_command.h"
#include "tests/levelling/book_fixture.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;
using test::DiniLines;
using test::TestContext;

DiniLines SmallLine() {
    DiniLines d;
    d.start("1");
    d.height("A", 10);
    d.station("A", "B", 1.5, 1.5001, 1.2, 1.2002, 20, 20, 21, 21, 10.3);
    d.end();
    return d;
}

using Handler = CommandStatus (*)(CommandContext&);
const Handler kBooks[] = {DiniBookCommand, DiniBookCheckedCommand, DiniBookGeoCommand};

TEST(RecordBookCommands, EmptyWorkspaceIsRefused) {
    for (Handler h : kBooks) {
        TestContext t;
        EXPECT_EQ(h(t.ctx), CommandStatus::Stopped);
        EXPECT_EQ(t.user.texts(MessageKind::Error),
                  std::vector<std::string>{std::string("NONAME.TXT: ") +
                                           levelling::kNoDiniDataMessage});
        EXPECT_TRUE(t.user.saveFilters.empty());
    }
    // The high-order book asks for its class first; the geological book only
    // when there is data.
    TestContext checked;
    DiniBookCheckedCommand(checked.ctx);
    EXPECT_EQ(checked.user.dialogsShown, std::vector<OptionDialog>{kTolerancesDialog});
    TestContext geo;
    DiniBookGeoCommand(geo.ctx);
    EXPECT_TRUE(geo.user.dialogsShown.empty());
}

TEST(RecordBookCommands, CancelledDialogsBuildNothingAndLeaveNoTemporaryFile) {
    for (Handler h : kBooks) {
        TestContext t;
        t.setLines(SmallLine().lines);
        const auto before = t.workspace.lines();
        t.user.dialogAnswer = false;  // Cancel on the option dialog
        const auto status = h(t.ctx);
        if (h == DiniBookCommand) {
            // No option dialog: the save dialog is cancelled instead.
            EXPECT_EQ(status, CommandStatus::Cancelled);
            EXPECT_EQ(t.user.saveFilters,
                      std::vector<std::string>{"Excel Workbook (*.xlsx)|*.xlsx"});
        } else {
            EXPECT_EQ(status, CommandStatus::Cancelled);
            EXPECT_TRUE(t.user.saveFilters.empty());
        }
        EXPECT_EQ(t.workspace.lines(), before);
        EXPECT_TRUE(t.user.questions.empty());
    }
}

TEST(RecordBookCommands, ALineOfAnotherFormatIsNamedAndReadingStrictlySavesNothing) {
    for (const bool strict : {false, true}) {
        TestContext t;
        auto lines = SmallLine().lines;
        lines[2] = "For R5|Adr 0001|KR       1|";
        t.setLines(lines);
        t.ctx.state.strictReading = strict;
        t.user.saveAnswers.push_back(t.dir() / "book");
        EXPECT_EQ(DiniBookCommand(t.ctx), strict ? CommandStatus::Stopped : CommandStatus::Done);
        const auto named = t.user.texts(strict ? MessageKind::Error : MessageKind::Warning);
        ASSERT_EQ(named.size(), 1u) << strict;
        EXPECT_EQ(named[0], strict ? "NONAME.TXT: lines not understood: 3. Reading strictly, "
                                     "nothing was written."
                                   : "NONAME.TXT: line 3 was not understood and was left out.");
        EXPECT_EQ(fs::exists(t.dir() / "book.xlsx"), !strict);
    }
}

TEST(RecordBookCommands, DataWithoutLevellingLineWritesNoWorkbook) {
    TestContext t;
    DiniLines d;
    d.height("A", 1);
    t.setLines(d.lines);
    t.user.saveAnswers.push_back(t.dir() / "book");
    EXPECT_EQ(DiniBookGeoCommand(t.ctx), CommandStatus::Stopped);
    EXPECT_FALSE(fs::exists(t.dir() / "book.xlsx"));
    // The height line before any Start-Line is named, then the empty result.
    const auto warnings = t.user.texts(MessageKind::Warning);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("observation line 1 came before the first Start-Line"),
              std::string::npos);
    ASSERT_EQ(t.user.texts(MessageKind::Error).size(), 1u);
    EXPECT_NE(t.user.texts(MessageKind::Error)[0].find("no levelling line"), std::string::npos);
}

TEST(RecordBookCommands, SavedBookIsConfirmedAndOpenedOnYes) {
    for (Handler h : kBooks) {
        TestContext t;
        // The question in the window's language, GB, from the shipped catalogue.
        ASSERT_TRUE(t.catalogue.load(test::DataFile("messages.txt")));
        t.setLines(SmallLine().lines);
        t.state.currentDocumentName = "job.dat";
        t.user.saveAnswers.push_back(t.dir() / "book");  // typed without the extension
        t.user.confirmAnswers = {true};
        EXPECT_EQ(h(t.ctx), CommandStatus::Done);
        const fs::path written = t.dir() / "book.xlsx";
        EXPECT_TRUE(fs::exists(written));
        EXPECT_EQ(t.user.questions,
                  std::vector<std::string>{
                      "文件转换完毕，结果文件存于：" + written.string() + "文件中。" +
                      (h == DiniBookCheckedCommand ? "超限项数：1。" : "") +
                      "是否用电子表格程序打开此结果文件？"});
        EXPECT_EQ(t.user.opened, std::vector<fs::path>{written});
        // Save keeps writing the text document, never over the workbook.
        EXPECT_EQ(t.state.currentDocumentName, "job.dat");
    }
}

TEST(RecordBookCommands, NoAnswerLeavesTheBookClosed) {
    TestContext t;
    t.setLines(SmallLine().lines);
    t.user.saveAnswers.push_back(t.dir() / "b.xlsx");
    EXPECT_EQ(DiniBookCommand(t.ctx), CommandStatus::Done);
    EXPECT_TRUE(t.user.opened.empty());
}

void Apply(const char* command, const std::string& option, const std::string& value,
           OptionsStore& options) {
    const CommandRow* row = FindCommandByCliName(command);
    ASSERT_NE(row, nullptr);
    for (const auto& o : row->cliOptions())
        if (o.name == option) return o.apply(options, value);
    FAIL() << "no option --" << option;
}

TEST(RecordBookCommands, CommandLineOptions) {
    OptionsStore o;
    Apply("dini-book-checked", "class", "2", o);
    EXPECT_EQ(o.get<ToleranceOptions>().levellingClass, 1);
    EXPECT_EQ(o.get<ToleranceOptions>().limits[0], "50");
    EXPECT_THROW(Apply("dini-book-checked", "class", "4", o), UsageError);

    // --limits wins whichever comes first.
    Apply("dini-book-checked", "limits", "40,0.8,x,0.5,0.7", o);
    EXPECT_EQ(o.get<ToleranceOptions>().limits, (std::array<std::string, 5>{"40", "0.8", "x", "0.5", "0.7"}));
    Apply("dini-book-checked", "class", "3", o);
    EXPECT_EQ(o.get<ToleranceOptions>().levellingClass, 2);
    EXPECT_EQ(o.get<ToleranceOptions>().limits[0], "40");
    EXPECT_THROW(Apply("dini-book-checked", "limits", "1,2,3,4", o), UsageError);
    EXPECT_THROW(Apply("dini-book-checked", "limits", "1,2,3,4,5,6", o), UsageError);

    Apply("dini-book-geo", "date", "2024-02-29", o);
    EXPECT_EQ(o.get<GeoBookOptions>().date, std::chrono::year{2024} / 2 / 29);
    for (const char* bad : {"2023-02-29", "2024-2-3", "24-02-03", "2024-02-03x", ""})
        EXPECT_THROW(Apply("dini-book-geo", "date", bad, o), UsageError) << bad;
    EXPECT_EQ(o.get<GeoBookOptions>().instrument, "110113");
    Apply("dini-book-geo", "instrument", "700737", o);
    Apply("dini-book-geo", "wind-force", "3级", o);
    EXPECT_EQ(o.get<GeoBookOptions>().instrument, "700737");
    EXPECT_EQ(o.get<GeoBookOptions>().windForce, "3级");
}

}  // namespace
}  // namespace tarvosen
