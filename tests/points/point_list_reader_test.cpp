#include <gtest/gtest.h>

#include "points/line_issues.h"
#include "points/point_record.h"
#include "tests/support/test_context.h"
#include "points/point_list_options.h"

namespace tarvosen::points {
namespace {

using test::TestContext;

struct Read {
    std::vector<PointRecord> records;
    std::vector<std::size_t> lineNumbers;
    std::vector<std::string> warnings;
    PointListShape shape;
    std::string refusal;
};

Read ReadAll(const TestContext&, std::string_view bytes,
             PointListLayout wanted = PointListLayout::Automatic) {
    const Workspace lines = test::LinesOfText(bytes);
    PointListReader reader(lines, wanted, {}, "job.txt");
    Read r;
    r.shape = reader.shape();
    r.refusal = reader.refusal();
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
    EXPECT_EQ(r.warnings[0].rfind("job.txt: lines 1 and 3 had fewer than the three commas", 0), 0u)
        << r.warnings[0];
}

// "cass blanks: name|X|Y|Z|code" of the first record, "own comma both: ..."
// when CASS fits as well.
std::string Reading(const Read& r) {
    if (r.records.empty()) return r.refusal;
    const auto& p = r.records[0];
    return std::string(r.shape.layout == PointListLayout::Cass ? "cass " : "own ") +
           (r.shape.separator == FieldSeparator::Comma ? "comma" : "blanks") +
           (r.shape.fitsCassAsWell ? " both" : "") + ": " + p.name + "|" + p.x + "|" + p.y + "|" +
           p.z + "|" + p.code;
}

TEST(PointListReader, TheLayoutIsTheOneMostLinesFitOrTheOneChosen) {
    using enum PointListLayout;
    const std::string longName(60, 'N'), longCode(60, 'c');
    struct Case {
        std::string bytes;
        PointListLayout wanted;
        std::string read;
    };
    for (const Case& c : {
             // Tabs and blanks; the code is the rest of the line.
             Case{"P1\t100.5 \t200.25  7\tKERB STONE \r\n", Automatic,
                  "own blanks: P1|100.5|200.25|7|KERB STONE"},
             // CASS: X is the north, the fourth field.
             Case{"7 KZ 500.1 300.2 12.5\n8 KZ 501 301 13\n", Automatic,
                  "cass blanks: 7|300.2|500.1|12.5|KZ"},
             // A header and a point whose code is a number do not outvote the rest.
             Case{"Pn,Code,Y,X,H\r\n1,,500.1,300.2,12.5\r\n2,9,501,301,13\r\n", Automatic,
                  "cass comma: Pn|X|Y|H|Code"},
             // Five numbers fit both layouts: the program's own, saying so.
             Case{"1,2,3,4,5\r\n", Automatic, "own comma both: 1|2|3|4|5"},
             Case{"1,2,3,4,5\r\n", Cass, "cass comma: 1|4|3|5|2"},
             Case{"1,,500.1,300.2,12.5\r\n", Own, "own comma: 1||500.1|300.2|12.5"},
             // Fields are read whole, however long.
             Case{longName + ",1,2,3," + longCode + "\r\n", Automatic,
                  "own comma: " + longName + "|1|2|3|" + longCode},
         }) {
        TestContext t;
        const auto r = ReadAll(t, c.bytes, c.wanted);
        EXPECT_EQ(Reading(r), c.read);
        EXPECT_EQ(r.shape.chosen, c.wanted != Automatic) << c.bytes;
        if (r.records.size() == 3) {  // the header is read, and named
            ASSERT_EQ(r.warnings.size(), 1u);
            EXPECT_EQ(r.warnings[0],
                      "job.txt: line 1 did not hold name, code, east, north and height separated "
                      "by commas; the fields were read as they stand.");
        } else {
            EXPECT_TRUE(r.warnings.empty()) << c.bytes << r.warnings.front();
        }
    }
}

TEST(PointListReader, AFileOfNoLayoutIsRefusedNamingItsFirstLines) {
    TestContext t;
    const auto prose =
        ReadAll(t,
                "The survey went well,\r\n\r\nbut it rained, twice, on the 3rd, of May.\r\n"
                "We left at noon\r\nand came back late.\r\n");
    EXPECT_TRUE(prose.records.empty());
    EXPECT_NE(prose.refusal.find("no line holds a point in the program's own layout"),
              std::string::npos)
        << prose.refusal;
    EXPECT_NE(prose.refusal.find("1: \"The survey went well,\", 3: \"but it rained"),
              std::string::npos)
        << prose.refusal;
    EXPECT_NE(prose.refusal.find("4: \"We left at noon\""), std::string::npos);
    EXPECT_EQ(prose.refusal.find("came back"), std::string::npos);

    // A list of the program's own layout chosen to be read as CASS.
    const auto own = ReadAll(t, "1,538542.57,1455644.371,681.31,I\r\n", PointListLayout::Cass);
    EXPECT_TRUE(own.records.empty());
    EXPECT_EQ(own.refusal.rfind("The workspace is not a point list: no line holds a point in the "
                                "CASS layout (name, code, east Y, north X, height), with",
                                0),
              0u)
        << own.refusal;
    // An empty list is no error.
    EXPECT_TRUE(ReadAll(t, "\r\n  \r\n").refusal.empty());
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

TEST(LineIssue, NamesEveryLineAsSortedRanges) {
    LineIssue issue("was odd");
    EXPECT_EQ(issue.message("job.txt"), "");
    issue.add(7);
    EXPECT_EQ(issue.message("job.txt"), "job.txt: line 7 was odd.");
    // Out of order and twice over: 7, 8 | 10-20 | 67; 9 joins them all.
    for (std::size_t l : {67, 20, 8, 12, 11, 10, 13, 14, 15, 16, 17, 18, 19, 12, 67})
        issue.add(l);
    EXPECT_EQ(issue.message("job.txt"), "job.txt: lines 7, 8, 10-20 and 67 was odd.");
    issue.add(9);
    EXPECT_EQ(issue.message("job.txt"), "job.txt: lines 7-20 and 67 was odd.");
    EXPECT_EQ(issue.count(), 15u);
    // Beyond 20 ranges the rest are counted.
    LineIssue many("was odd");
    for (std::size_t l = 1; l <= 120; l += 2) many.add(l);
    const std::string text = many.message("job.txt");
    EXPECT_NE(text.find(", 37, 39 and 40 more was odd."), std::string::npos) << text;
}

}  // namespace
}  // namespace tarvosen::points
