#include <gtest/gtest.h>

#include "points/line_issues.h"
#include "points/point_record.h"
#include "tests/support/test_context.h"

namespace tarvosen::points {
namespace {

using test::TestContext;

struct Read {
    std::vector<PointRecord> records;
    std::vector<std::size_t> lineNumbers;
    std::vector<std::string> warnings;
};

Read ReadAll(const TestContext&, std::string_view bytes) {
    const Workspace lines = test::LinesOfText(bytes);
    PointListReader reader(lines);
    Read r;
    PointRecord p;
    while (reader.ReadPointRecord(p)) {
        r.records.push_back(p);
        r.lineNumbers.push_back(reader.lineNumber());
    }
    r.warnings = reader.warnings();
    return r;
}

void ExpectRecord(const PointRecord& p, const char* name, const char* x, const char* y,
                  const char* z, const char* code) {
    EXPECT_EQ(p.name, name);
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
    EXPECT_EQ(p.code, code);
}

TEST(PointListReader, FieldsAreCopiedWithTheirBlanksAndTheCodeTakesTheRestOfTheLine) {
    TestContext t;
    auto r = ReadAll(t, " P1 ,  100.000,  200.000,    10.000, KERB \r\nP2,1,2,3,a,b,c\r\n");
    ASSERT_EQ(r.records.size(), 2u);
    ExpectRecord(r.records[0], " P1 ", "  100.000", "  200.000", "    10.000", " KERB ");
    ExpectRecord(r.records[1], "P2", "1", "2", "3", "a,b,c");
    EXPECT_TRUE(r.warnings.empty());
}

TEST(PointListReader, ARecordEndsAtTheEndOfItsLine) {
    TestContext t;
    // Three commas: the most common point list of all, an empty code. Blank
    // lines (empty or only blanks) are skipped and never reach a name.
    auto r = ReadAll(t, "P1,100.0,200.0,10.0\r\n\r\n   \r\nP2,1,2,3,C\nP3,4,5,6,\r\n");
    ASSERT_EQ(r.records.size(), 3u);
    ExpectRecord(r.records[0], "P1", "100.0", "200.0", "10.0", "");
    ExpectRecord(r.records[1], "P2", "1", "2", "3", "C");
    ExpectRecord(r.records[2], "P3", "4", "5", "6", "");
    EXPECT_EQ(r.lineNumbers, (std::vector<std::size_t>{1, 4, 5}));
    EXPECT_TRUE(r.warnings.empty());
}

TEST(PointListReader, ALineWithoutXYZSeparatorsIsReadWithEmptyFieldsAndNamedInAWarning) {
    TestContext t;
    auto r = ReadAll(t, "Pn X Y Z\r\nP1,1,2,3,\r\nP2,7\r\n");
    ASSERT_EQ(r.records.size(), 3u);
    ExpectRecord(r.records[0], "Pn X Y Z", "", "", "", "");
    ExpectRecord(r.records[2], "P2", "7", "", "", "");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].rfind("Workspace lines 1 and 3 had fewer than the three commas", 0), 0u)
        << r.warnings[0];
}

TEST(PointListReader, OverLongFieldsAreCutTo49AndReadingGoesOn) {
    TestContext t;
    const std::string fit(49, 'n'), over(50, 'x');
    auto r = ReadAll(t, fit + ",1,2,3," + fit + "\r\nP2," + over + ",2,3,C\r\nP3,1,2,3," + over +
                            over + "\r\nP4,1,2,3,D\r\n");
    ASSERT_EQ(r.records.size(), 4u);
    EXPECT_EQ(r.records[0].name, fit);
    EXPECT_EQ(r.records[0].code, fit);
    EXPECT_EQ(r.records[1].x, over.substr(0, 49));
    EXPECT_EQ(r.records[2].code, over.substr(0, 49));
    ExpectRecord(r.records[3], "P4", "1", "2", "3", "D");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(
        r.warnings[0],
        "Workspace lines 2 and 3 had a field longer than 49 characters, cut to its first 49.");
}

TEST(PointListReader, CtrlZEndsTheInputAndTextAfterItIsReported) {
    TestContext t;
    auto clean = ReadAll(t, "P1,1,2,3,C\r\n\x1a");
    EXPECT_EQ(clean.records.size(), 1u);
    EXPECT_TRUE(clean.warnings.empty());

    auto r = ReadAll(t, "P1,1,2,3,C\r\nP2,4,5,6,\x1a\r\nP3,7,8,9,\r\nP4,1,1,1,\r\n");
    ASSERT_EQ(r.records.size(), 2u);
    ExpectRecord(r.records[1], "P2", "4", "5", "6", "");
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("line 2 holds a Ctrl-Z"), std::string::npos);
    EXPECT_NE(r.warnings[0].find("the 2 line(s)"), std::string::npos);
}

TEST(LineIssue, NamesAFewLinesAndCountsTheRest) {
    LineIssue issue("was odd");
    EXPECT_EQ(issue.message(), "");
    issue.add(7);
    EXPECT_EQ(issue.message(), "Workspace line 7 was odd.");
    for (std::size_t l = 8; l <= 20; ++l) issue.add(l);
    EXPECT_EQ(issue.message(), "Workspace lines 7, 8, 9, 10, 11, ... (14 lines in all) was odd.");
}

}  // namespace
}  // namespace tarvosen::points
