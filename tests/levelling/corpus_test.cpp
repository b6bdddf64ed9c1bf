// Real DiNi 03 data (two lines of a bridge survey, with voided sights,
// reading errors, a repeated station and Cont-Lines) through every book:
// the books close each line as the instrument did.
#include <gtest/gtest.h>

#include "levelling/checked_book.h"
#include "levelling/geo_book.h"
#include "levelling/survey_book.h"
#include "tests/levelling/book_fixture.h"

namespace tarvosen {
namespace {

using test::Number;
using test::TestContext;
using test::Text;
namespace ss = spreadsheet;

// Builds the book from the corpus file and keeps it open.
template <typename Book>
struct CorpusBook : test::BookRun {
    CorpusBook() {
        TestContext load;
        load.workspace.load(test::CorpusFile("m5/bookcode-dini03-0624CH67.dat"));
        run(load.workspace.lines(), [](ss::SpreadsheetSession& session, CommandContext& ctx) {
            if constexpr (std::is_same_v<Book, levelling::HighOrderBook>)
                return std::make_unique<Book>(session, ctx.user, ctx.options.dini);
            else if constexpr (std::is_same_v<Book, levelling::GeoInstituteBook>)
                return std::make_unique<Book>(session, ctx.user, ctx.options.shddy);
            else
                return std::make_unique<Book>(session, ctx.user);
        });
        EXPECT_EQ(outcome, levelling::RunOutcome::Read);
        EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());
    }
};

// The instrument's closing heights of the two lines.
constexpr double kClosure1 = -0.00010, kClosure2 = -0.00002;

TEST(DiniCorpus, EveryBookClosesBothLines) {
    REQUIRE_FORMULA_ENGINE();
    {
        CorpusBook<levelling::SurveyInstituteBook> b;
        // Four set-ups each: the sum of the height differences on row 22.
        EXPECT_EQ(Text(b.sheet("水准线1"), "F22"), "高差总和");
        EXPECT_NEAR(Number(b.sheet("水准线1"), "H22"), kClosure1, 3e-5);
        EXPECT_NEAR(Number(b.sheet("水准线2"), "H22"), kClosure2, 3e-5);
        EXPECT_EQ(Text(b.sheet("水准线2"), "B9"), "X3");
        EXPECT_EQ(Text(b.sheet("水准线2"), "D25"), "X3");  // the loop ends where it began
    }
    {
        CorpusBook<levelling::HighOrderBook> b;
        const auto s = b.sheet("水准线1");
        EXPECT_EQ(Text(s, "A25"), "测段小结");
        // Short sights on a bridge, but back and fore distances differ by
        // 1.1 m and 0.7 m at set-ups 1 and 3: too much for 一等.
        EXPECT_EQ(Text(s, "H9"), "视距差超限");
        EXPECT_NEAR(Number(s, "B12"), 1.1005, 1e-9);
        EXPECT_EQ(Text(s, "H13"), "");
        EXPECT_EQ(Text(s, "H17"), "视距差超限");
        EXPECT_EQ(Text(s, "H21"), "");
        EXPECT_NEAR(Number(s, "B25"), 7.676 + 7.101 + 6.920 + 7.641, 1e-9);
        // The sum of the station height differences from the summed readings.
        EXPECT_NEAR(Number(s, "G27"), kClosure1, 3e-5);
    }
    {
        CorpusBook<levelling::GeoInstituteBook> b;
        EXPECT_EQ(Text(b.sheet("水准线1"), "A17"), "测段小结");
        EXPECT_NEAR(Number(b.sheet("水准线1"), "I17"), kClosure1, 3e-5);
        EXPECT_NEAR(Number(b.sheet("水准线2"), "I17"), kClosure2, 3e-5);
        EXPECT_EQ(Text(b.sheet("水准线2"), "D4"), "X3");
        EXPECT_EQ(Text(b.sheet("水准线2"), "G4"), "X3");
    }
}

}  // namespace
}  // namespace tarvosen
