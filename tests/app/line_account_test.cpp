// The account of a reader's lines: the summary line, the warning for lines
// not understood, and strict reading, which stops before anything is written.

#include <gtest/gtest.h>

#include "app/line_account.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

constexpr PassedOverKind kStations{1, "station records"};
constexpr PassedOverKind kTexts{2, "texts"};

LineAccount JobOfTenLines() {
    LineAccount account("job.r5");
    for (std::size_t line : {1, 2, 3, 5, 9}) account.used(line);
    account.passedOver(4, kStations);
    account.passedOver(6, kTexts);
    account.passedOver(8, kStations);
    account.notUnderstood(7);
    account.notUnderstood(10);
    return account;
}

TEST(LineAccount, SummaryWarningAndStrictReading) {
    test::TestContext t;
    const LineAccount account = JobOfTenLines();
    EXPECT_EQ(account.lineCount(), 10u);

    EXPECT_TRUE(CheckLinesUnderstood(t.ctx, account));
    NoteReadSummary(t.ctx, account, "5 points written");
    ASSERT_EQ(t.user.messages.size(), 1u);
    EXPECT_EQ(t.user.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(t.user.messages[0].text,
              "job.r5: 2 lines were not understood and were left out: 7 and 10.");
    ASSERT_EQ(t.user.notes.size(), 1u);
    EXPECT_EQ(t.user.notes[0],
              "read 10 lines of job.r5: 5 points written; passed over 3 lines (station records "
              "and texts); 2 lines not understood (7 and 10)");

    // Strictly, a line not understood is an error and the run must stop.
    t.user.messages.clear();
    t.state.strictReading = true;
    EXPECT_FALSE(CheckLinesUnderstood(t.ctx, account));
    ASSERT_EQ(t.user.messages.size(), 1u);
    EXPECT_EQ(t.user.messages[0].kind, MessageKind::Error);

    // Nothing written from a non-empty input is an error, with the account.
    t.user.messages.clear();
    LineAccount blank("empty.r5");
    blank.passedOver(1, kBlankLines);
    EXPECT_FALSE(RefuseNothingWritten(t.ctx, blank));
    ASSERT_EQ(t.user.messages.size(), 1u);
    EXPECT_EQ(t.user.messages[0].text,
              "read 1 line of empty.r5: nothing written; passed over 1 line (blank lines)");
}

TEST(LineAccount, SeveralFilesAreSummedAndNamedInTheirOwnWarnings) {
    test::TestContext t;
    LineAccount account("a.m5");
    account.used(1);
    account.notUnderstood(2);
    account.beginFile("b.m5");
    account.used(1);
    account.notUnderstood(5);
    EXPECT_TRUE(CheckLinesUnderstood(t.ctx, account));
    ASSERT_EQ(t.user.messages.size(), 2u);
    EXPECT_EQ(t.user.messages[1].text, "b.m5: line 5 was not understood and was left out.");
    EXPECT_EQ(ReadSummaryText({}, account, "2 stations written"),
              "read 4 lines of 2 files: 2 stations written; 2 lines not understood");
}

}  // namespace
}  // namespace tarvosen
