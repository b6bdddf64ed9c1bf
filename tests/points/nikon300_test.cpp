#include <gtest/gtest.h>

#include "points/nikon300_raw.h"
#include "points/point_commands.h"
#include "tests/points/point_test_support.h"

namespace tarvosen {
namespace {

using test::RunOnLines;
using test::TestContext;
using Lines = std::vector<std::string>;

TEST(Nikon300400Signature, FirstFourFieldsOfTheFirstLine) {
    using points::IsNikon300400Signature;
    EXPECT_TRUE(IsNikon300400Signature("2,9,DTM-352,NS002,"));
    EXPECT_TRUE(IsNikon300400Signature(" 2 ,9,,NS002,JOB"));
    EXPECT_TRUE(IsNikon300400Signature("\t2,9,123456789,NS002,"));
    EXPECT_FALSE(IsNikon300400Signature("02,9,x,NS002,"));  // texts, not numbers
    EXPECT_FALSE(IsNikon300400Signature("2, 9,x,NS002,"));  // second field exactly "9"
    EXPECT_FALSE(IsNikon300400Signature("2,9,x,NS002"));    // a comma ends each field
    EXPECT_FALSE(IsNikon300400Signature("2,9,x,NS002 ,"));
    EXPECT_FALSE(IsNikon300400Signature("2,9,1234567890,NS002,"));  // third field over 9
    EXPECT_FALSE(IsNikon300400Signature("   2 ,9,x,NS002,"));       // first field over 4
    EXPECT_FALSE(IsNikon300400Signature(""));

    EXPECT_TRUE(
        points::IsNikon300400Raw(test::LinesOfText("2,9,x,NS002,\r\n1,1,M,P,C,1,2,3,\r\n")));
    // The signature never takes fields from the next line.
    EXPECT_FALSE(points::IsNikon300400Raw(test::LinesOfText("2,9,\r\nx,NS002,\r\n")));
    EXPECT_FALSE(points::IsNikon300400Raw(Workspace{}));
}

TEST(Nikon300ToPoints, CoordinateRecordsBecomePointLines) {
    TestContext t;
    t.state.currentDocumentName = "job.raw";
    auto run =
        RunOnLines(t, Nikon300ToPointsCommand,
                   {"2,9,DTM-352,NS002,JOB,", "1,0,MD,101,KERB,25.116,134.2510,91.0215,1.5,",
                    "1,1,MD,101,KERB,3512382.131,498217.622,44.402,1.5,", "",
                    "1,3,MD,BM7,,3512450.000, 498260.000,46.125,", "1, 4 ,MD,104,W,1,2,3,x,y",
                    "1,2,MD,ST1,S,1,2,3,", "1,1,MD,105,K,4,5,6,"});
    ASSERT_EQ(run.status, CommandStatus::Done);
    EXPECT_EQ(run.lines,
              (Lines{"101,3512382.131,498217.622,44.402,KERB",
                     "BM7,3512450.000, 498260.000,46.125,", "104,1,2,3,W", "105,4,5,6,K"}));
    EXPECT_TRUE(run.warnings.empty());
    EXPECT_EQ(t.state.currentDocumentName, "job.raw");

    // Passes the test but holds no coordinate record: refused, the lines kept.
    const Lines none = {"2,9,x,NS002,", "1,0,M,1,C,1,2,3,"};
    const auto empty = RunOnLines(t, Nikon300ToPointsCommand, none);
    EXPECT_EQ(empty.status, CommandStatus::Stopped);
    EXPECT_EQ(empty.lines, none);
    EXPECT_EQ(t.user.texts(MessageKind::Error),
              Lines{"read 2 lines of job.raw: nothing written; passed over 2 lines (header lines "
                    "and records of other types)"});
}

TEST(Nikon300ToPoints, ARecordNeverTakesFieldsFromTheNextLine) {
    const std::string over(60, 'c');
    auto run = RunOnLines(
        Nikon300ToPointsCommand,
        {"2,9,x,NS002,", "1,1,M,P1,C,1,2", "1,1,M,P2,C,4,5,6", "1,1,M,P3," + over + ",7,8,9,"});
    // A point list has no fixed widths: the long code is copied whole.
    EXPECT_EQ(run.lines, (Lines{"P1,1,2,,C", "P2,4,5,6,C", "P3,7,8,9," + over}));
    ASSERT_EQ(run.warnings.size(), 1u);
    EXPECT_NE(run.warnings[0].find("line 2 had a coordinate record without"), std::string::npos);
}

TEST(Nikon300ToPoints, OtherDataIsRefusedAndLeftAsItWas) {
    TestContext t;
    Lines in = {"CO,Nikon RAW data format V2.00", "ST,1,,2,,1.5,0.0,0.0"};
    auto run = RunOnLines(t, Nikon300ToPointsCommand, in);
    EXPECT_EQ(run.status, CommandStatus::Stopped);
    EXPECT_EQ(run.lines, in);
    ASSERT_EQ(t.user.texts(MessageKind::Error).size(), 1u);
    EXPECT_EQ(t.user.texts(MessageKind::Error)[0].rfind(
                  std::string("NONAME.TXT: ") + points::kNotNikon300400Message, 0),
              0u);
}

}  // namespace
}  // namespace tarvosen
