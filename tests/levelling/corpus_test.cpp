// Real DiNi data through every book: the books close each line as the
// instrument did. DiNi 03 data read twice on each staff (two lines of a
// bridge survey, with voided sights, reading errors, a repeated station and
// Cont-Lines), and DiNi lines read once on each staff.
#include <gtest/gtest.h>

#include <numeric>

#include "levelling/checked_book.h"
#include "levelling/geo_book.h"
#include "levelling/survey_book.h"
#include "tests/levelling/book_fixture.h"
#include "tests/levelling/single_reading_corpus.h"
#include "levelling/levelling_options.h"

namespace tarvosen {
namespace {

using test::Number;
using test::TestContext;
using test::Text;
namespace ss = spreadsheet;

std::vector<std::string> DoubleReadingLines() {
    TestContext load;
    load.workspace.load(test::CorpusFile("m5/bookcode-dini03-0624CH67.dat"));
    return load.workspace.lines();
}

// Builds the book from the lines and keeps it open.
template <typename Book>
struct CorpusBook : test::BookRun {
    explicit CorpusBook(const std::vector<std::string>& lines = DoubleReadingLines()) {
        run(lines, [](ss::SpreadsheetSession& session, CommandContext& ctx) {
            if constexpr (std::is_same_v<Book, levelling::HighOrderBook>)
                return std::make_unique<Book>(session, ctx.user, ctx.options.get<ToleranceOptions>());
            else if constexpr (std::is_same_v<Book, levelling::GeoInstituteBook>)
                return std::make_unique<Book>(session, ctx.user, ctx.options.get<GeoBookOptions>());
            else
                return std::make_unique<Book>(session, ctx.user);
        });
        EXPECT_EQ(outcome, levelling::ReadOutcome::Read);
    }
    std::vector<std::string> warnings() const { return t.user.texts(MessageKind::Warning); }
};

// The instrument's closing heights of the two lines.
constexpr double kClosure1 = -0.00010, kClosure2 = -0.00002;
// The lengths of the two lines from each sight's mean distance, summed by
// hand; the instrument's own Db + Df, to its 0.01 m, are 58.34 and 58.95.
constexpr double kLength1 = 58.3395, kLength2 = 58.9595;

TEST(DiniCorpus, EveryBookClosesBothLines) {
    {
        CorpusBook<levelling::SurveyInstituteBook> b;
        // Four set-ups each: the sum of the height differences on row 22.
        EXPECT_EQ(Text(b.sheet("水准线1"), "F22"), "高差总和");
        EXPECT_NEAR(Number(b.sheet("水准线1"), "H22"), kClosure1, 3e-5);
        EXPECT_NEAR(Number(b.sheet("水准线2"), "H22"), kClosure2, 3e-5);
        EXPECT_EQ(Text(b.sheet("水准线2"), "B9"), "X3");
        EXPECT_EQ(Text(b.sheet("水准线2"), "D25"), "X3");  // the loop ends where it began
        EXPECT_NEAR(Number(b.sheet("水准线1"), "F25"), kLength1 / 1000, 1e-12);
        EXPECT_NEAR(Number(b.sheet("水准线2"), "F25"), kLength2 / 1000, 1e-12);
        EXPECT_TRUE(b.warnings().empty());
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
        EXPECT_TRUE(b.warnings().empty());
    }
    {
        CorpusBook<levelling::GeoInstituteBook> b;
        EXPECT_EQ(Text(b.sheet("水准线1"), "A17"), "测段小结");
        EXPECT_NEAR(Number(b.sheet("水准线1"), "I17"), kClosure1, 3e-5);
        EXPECT_NEAR(Number(b.sheet("水准线2"), "I17"), kClosure2, 3e-5);
        EXPECT_EQ(Text(b.sheet("水准线2"), "D4"), "X3");
        EXPECT_EQ(Text(b.sheet("水准线2"), "G4"), "X3");
        EXPECT_NEAR(Number(b.sheet("水准线1"), "F17"), kLength1, 1e-9);
        EXPECT_NEAR(Number(b.sheet("水准线2"), "F17"), kLength2, 1e-9);
        EXPECT_TRUE(b.warnings().empty());
    }
}

// The REC500 memory's line 1433 was left after one back reading (line 1164
// of the downloads put together).
constexpr const char* kAbandoned1433 =
    "NONAME.TXT, levelling line 1433: the station from line 1164 has readings of one staff only "
    "(the line was left there); it has no height difference.";

// Every station's height difference is its back reading less its fore
// reading, and a line's sum is theirs: nothing halved, no two-reading check.
TEST(DiniCorpus, SingleReadingLinesKeepTheirHeightDifferences) {
    const auto lines = test::SingleReadingDownload();
    const auto expected = test::BackMinusFore(lines);
    ASSERT_EQ(expected.size(), 31u);  // every line with a station: 2 + 2 + 5 + 22
    auto sum = [](const std::vector<double>& v) {
        return std::accumulate(v.begin(), v.end(), 0.0);
    };
    // The instrument's own line sums (Sh) of push0809, to its rounding.
    EXPECT_NEAR(sum(expected.at("水准线0210")), -0.0008, 5e-5);
    EXPECT_NEAR(sum(expected.at("水准线0212")), -0.0385, 5e-5);
    auto value = [](const ss::Sheet& s, int row, int column) {
        return s.Cells(row, column).Value2();
    };
    {
        CorpusBook<levelling::SurveyInstituteBook> b(lines);
        for (const auto& [name, stations] : expected) {
            const auto s = b.sheet(name);
            const int n = static_cast<int>(stations.size());
            for (int g = 0; g < n; ++g) {
                const int r = levelling::SurveyInstituteBook::GroupRow(g);
                EXPECT_NEAR(value(s, r + 1, 8), stations[g], 1e-9) << name << " station " << g + 1;
                EXPECT_EQ(s.Cells(r, 7).Formula(), "") << name;  // no reading difference
            }
            const int last = levelling::SurveyInstituteBook::GroupRow(n);
            EXPECT_EQ(s.Cells(last + 1, 6).ValueText(), "高差总和") << name;
            EXPECT_NEAR(value(s, last + 1, 8), sum(stations), 1e-5) << name;
        }
        ASSERT_EQ(b.warnings().size(), 2u);
        EXPECT_EQ(b.warnings()[0], kAbandoned1433);
        EXPECT_NE(b.warnings()[1].find("44 intermediate sights"), std::string::npos);
    }
    {
        CorpusBook<levelling::HighOrderBook> b(lines);
        for (const auto& [name, stations] : expected) {
            const auto s = b.sheet(name);
            const int n = static_cast<int>(stations.size());
            for (int g = 0; g < n; ++g) {
                const int r = levelling::HighOrderBook::GroupRow(g);
                EXPECT_NEAR(value(s, r + 2, 7), stations[g], 1e-9) << name << " station " << g + 1;
                EXPECT_EQ(value(s, r + 2, 2), value(s, r, 2)) << name;  // the one back distance
                const std::string remark = s.Cells(r, 8).ValueText();
                EXPECT_TRUE(remark != "两次读数差超限" && remark != "读数差之差超限") << name;
            }
            const int summary = levelling::HighOrderBook::GroupRow(n);
            EXPECT_EQ(s.Cells(summary, 1).ValueText(), "测段小结") << name;
            EXPECT_NEAR(value(s, summary + 2, 7), sum(stations), 1e-5) << name;
        }
        ASSERT_EQ(b.warnings().size(), 2u);
        EXPECT_EQ(b.warnings()[0], kAbandoned1433);
        EXPECT_NE(b.warnings()[1].find("44 intermediate sights"), std::string::npos);
    }
    {
        CorpusBook<levelling::GeoInstituteBook> b(lines);
        for (const auto& [name, stations] : expected) {
            const auto s = b.sheet(name);
            const int n = static_cast<int>(stations.size());
            for (int q = 0; q < n; ++q)
                EXPECT_NEAR(value(s, 12 + q, 10), stations[q], 1e-9)
                    << name << " station " << q + 1;
            EXPECT_EQ(s.Cells(n + 13, 1).ValueText(), "测段小结") << name;
            EXPECT_NEAR(value(s, n + 13, 9), sum(stations), 1e-5) << name;
        }
        // Line 3 starts at height 0: its intermediate sights (taken between
        // a station's back and fore reading) have the heights the level gave.
        std::vector<double> heights;
        for (const std::string& l : lines)
            if (l.size() > 112 && l.compare(49, 2, "Rz") == 0 && l.compare(44, 4, "   3") == 0)
                heights.push_back(std::stod(l.substr(98, 14)));
        ASSERT_EQ(heights.size(), 14u);
        const auto s = b.sheet("水准线3");
        const int first = static_cast<int>(expected.at("水准线3").size()) + 16;
        for (int e = 0; e < 14; ++e) EXPECT_NEAR(value(s, first + e, 8), heights[e], 1e-9) << e;
        EXPECT_EQ(b.warnings(), std::vector<std::string>{kAbandoned1433});
    }
}

}  // namespace
}  // namespace tarvosen
