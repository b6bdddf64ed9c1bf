#include <gtest/gtest.h>

#include "app/errors.h"
#include "app/workspace.h"
#include "tests/support/test_context.h"
#include "zeiss/record_conversions.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen::zeiss {
namespace {

using test::CorpusFile;
using test::TestContext;

const std::string kStation =
    "For R5|Adr 0004|KR S     0|X       23.926 m   |Y       46.475 m   |Z        0.000 m   |";
const std::string kOrientation =
    "For R5|Adr 0003|TR        |m     0.999198     |Om     21.9645 grd |                   |";

TEST(R5ToM5, PointAndTextRecordsKeepAddressAndFields) {
    TestContext t;
    t.setLines({kOrientation, kStation, "For R5|Adr 0005|XX junk", "END", "For R5|Adr 0009|TR"});
    t.state.currentDocumentName = "job.r5";
    EXPECT_EQ(R5ToM5Command(t.ctx), CommandStatus::Done);
    ASSERT_EQ(t.workspace.lineCount(), 2u);  // unknown kind: no line; END: stop, no END written
    EXPECT_EQ(t.workspace.line(0),
              "For M5|Adr 00003|TI                             |m        0.999198     |"
              "Om        21.9645 grd |                      | ");
    // The R5 values land, blanks and all, in the last 11 columns of the M5 values.
    EXPECT_EQ(t.workspace.line(1),
              "For M5|Adr 00004|PI1              0          S  |X          23.926 m   |"
              "Y          46.475 m   |Z           0.000 m   | ");
    EXPECT_EQ(t.state.currentDocumentName, "job.r5");
}

TEST(R5ToM5, NotR5StopsWithTheMessageAndKeepsTheWorkspace) {
    TestContext t;
    // An empty line is not skipped: it ends the data with the message.
    const std::vector<std::string> lines{kStation, "", kStation};
    t.setLines(lines);
    EXPECT_EQ(R5ToM5Command(t.ctx), CommandStatus::Stopped);
    ASSERT_EQ(t.user.messages.size(), 1u);
    EXPECT_EQ(t.user.messages[0].text.rfind(kNotR5Message, 0), 0u);
    EXPECT_NE(t.user.messages[0].text.find("Line 2 is empty"), std::string::npos)
        << t.user.messages[0].text;
    EXPECT_EQ(t.workspace.lines(), lines);

    t.setLines({"For R4|TR OR.COOR"});
    EXPECT_EQ(R5ToM5Command(t.ctx), CommandStatus::Stopped);
    EXPECT_NE(t.user.messages[1].text.find("Line 1 does not begin with \"For R5\""),
              std::string::npos);

    // A bad address is a conversion error naming the line.
    t.setLines({kStation, "For R5|Adr 00A5|KR       1|"});
    try {
        R5ToM5Command(t.ctx);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 2, columns 12-15"), std::string::npos);
    }
    EXPECT_EQ(t.workspace.lineCount(), 2u);
}

TEST(R5ToM5, OverlongLinesAreCutReadOnAndReported) {
    TestContext t;
    t.setLines({kStation + std::string(100, 'x'), kStation, kStation + std::string(70, ' ')});
    EXPECT_EQ(R5ToM5Command(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lineCount(), 3u);
    ASSERT_EQ(t.user.texts(MessageKind::Warning).size(), 1u);
    EXPECT_EQ(t.user.texts(MessageKind::Warning)[0],
              "Line 1 and 1 more lines are longer than 149 characters; only the first 149 "
              "characters of such lines were read.");
}

TEST(Rec500ToM5, DataAndTextLines) {
    TestContext t;
    t.setLines({
        "   0001 OR.COOR",
        "   0004                 506S        X       63.174 Y      -107.371 Z     0.000 ",
        "   0003                             m     1.002785 Om     399.9670             ",
        "   0006                 507S                                       Z   157.454 ",
        "   0007                                            Om     397.0370             ",
        "END",
        "garbage after the end",
    });
    EXPECT_EQ(Rec500ToM5Command(t.ctx), CommandStatus::Done);
    const std::vector<std::string> expected{
        "For M5|Adr 00001|TO  OR.COOR                    |                      |"
        "                      |                      | ",
        "For M5|Adr 00004|KD1                 506S       |X          63.174 m   |"
        "Y        -107.371 m   |Z           0.000 m   | ",
        "For M5|Adr 00003|KD1                            |m        1.002785 m   |"
        "Om       399.9670 m   |                      | ",
        // A height alone is still a data line, with its unit.
        "For M5|Adr 00006|KD1                 507S       |                  m   |"
        "                  m   |Z         157.454 m   | ",
        // One field alone is a text line with blank units.
        "For M5|Adr 00007|TO                             |                      |"
        "Om       397.0370     |                      | ",
    };
    EXPECT_EQ(t.workspace.lines(), expected);
}

TEST(Rec500ToM5, LinesThatAreNotRecordsAreRefused) {
    TestContext t;
    // A heading: the address columns are not an integer.
    t.setLines({"   0001 OR.COOR", "Job 17"});
    EXPECT_THROW(Rec500ToM5Command(t.ctx), ConversionError);
    EXPECT_EQ(t.workspace.lineCount(), 2u);
    // A value that runs past its columns would lose digits.
    t.setLines(
        {"     66     5090    0            101                                   Z   2174.002"});
    try {
        Rec500ToM5Command(t.ctx);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 1: the value in columns 71-78"),
                  std::string::npos);
    }
}

TEST(M5ToR5, ValuesThatDoNotFitAnR5FieldAreRefused) {
    TestContext t;
    t.setLines(
        {"For M5|Adr 00001|PI1           A               0|Y   5512345.6789 m   |"
         "                      |                      | "});
    try {
        M5ToR5Command(t.ctx);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("5512345.6789"), std::string::npos);
    }
}

// Every instrument file of the corpus converts or is refused with a message;
// none crashes or stops without saying why.
TEST(RecordConversions, CorpusFilesConvertOrAreRefusedWithAMessage) {
    struct Case {
        const char* file;
        CommandStatus (*command)(CommandContext&);
        int expectedLines;  // -1: refused with a message, -2: refused with a conversion error
    };
    const Case cases[] = {
        {"r5/tops-elta-r55.r5", R5ToM5Command, 149},
        {"r5/tops-elta-r55-R4.r4", R5ToM5Command, -1},
        {"m5/tops-elta-r55-R_E.m5", R5ToM5Command, -1},
        {"rec500/tops-elta-r55-rec500.rec", Rec500ToM5Command, 128},
        {"rec500/tops-elta-r55-short.rec", Rec500ToM5Command, 7},
        {"excerpts/stardini-testdini-rec500-levelling-excerpt.rec", Rec500ToM5Command, -2},
        {"m5/bookcode-dini03-0624CH67.dat", Rec500ToM5Command, -2},
        {"r5/tops-elta-r55.r5", Rec500ToM5Command, -2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TestContext t;
        t.workspace.load(CorpusFile(c.file));
        const auto original = t.workspace.lines();
        if (c.expectedLines == -2) {
            EXPECT_THROW(c.command(t.ctx), ConversionError);
            EXPECT_EQ(t.workspace.lines(), original);
            continue;
        }
        const CommandStatus status = c.command(t.ctx);
        if (c.expectedLines == -1) {
            EXPECT_EQ(status, CommandStatus::Stopped);
            EXPECT_EQ(t.user.messages.size(), 1u);
            EXPECT_EQ(t.workspace.lines(), original);
            continue;
        }
        EXPECT_EQ(status, CommandStatus::Done);
        EXPECT_EQ(t.workspace.lineCount(), static_cast<std::size_t>(c.expectedLines));
        for (const auto& l : t.workspace.lines()) EXPECT_EQ(l.size(), kM5LineLength) << l;
        EXPECT_TRUE(t.user.messages.empty());
    }
}

}  // namespace
}  // namespace tarvosen::zeiss

namespace tarvosen::zeiss {
namespace {

std::string M5Point(const std::string& value, const std::string& unit) {
    RecordFields fields{{{"SD", "12.345", "m   "}, {"Hz", value, unit}, {"", "", ""}}};
    return FormatM5PointLine(2, "P1", "CODE", fields);
}

TEST(M5ToR5, GonBecomesDegreesMinutesSeconds) {
    struct Case {
        const char* gon;
        const char* r5Value;
    };
    for (const auto& c :
         {Case{"100.0000", "    90.0000"}, Case{"399.99999", "   360.0000"},
          Case{"-100", "   270.0000"}, Case{"0", "     0.0000"}, Case{"50.5555", "    45.3000"}}) {
        SCOPED_TRACE(c.gon);
        const auto r5 = ConvertM5LineToR5(M5Line(M5Point(c.gon, "gon "), 1));
        ASSERT_TRUE(r5);
        const R5Line line(*r5, 1);
        EXPECT_EQ(line.fieldValue(1), c.r5Value);
        EXPECT_EQ(line.fieldUnit(1), "DMS ");
        EXPECT_EQ(line.field(0).value, "     12.345");  // other fields are copied
        EXPECT_EQ(line.fieldUnit(0), "m   ");
    }
    // Only the exact unit "gon " is converted.
    const auto dms = ConvertM5LineToR5(M5Line(M5Point("100.0000", "grd "), 1));
    EXPECT_EQ(R5Line(*dms, 1).fieldValue(1), "   100.0000");
    EXPECT_THROW(ConvertM5LineToR5(M5Line(M5Point("1O0", "gon "), 1)), ConversionError);
}

TEST(M5ToR5, KindsAndTheClosingEnd) {
    TestContext t;
    const std::string kd = FormatM5DataLine(3, "X1", {});
    const std::string to = FormatM5InformationLine(4, "Start-Line", {});
    const std::string ti = FormatM5TextLine(1, "POLAR", {});
    t.setLines({ti, kd, to, M5Point("1.0000", "DMS ")});
    EXPECT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    // KD1 and TO give nothing; the end of the file adds "END" without
    // touching the document name.
    ASSERT_EQ(t.workspace.lineCount(), 3u);
    EXPECT_EQ(t.workspace.line(0).substr(0, 27), "For R5|Adr 0001|TR        |");
    // The point number is read from columns 35-38: the last character of
    // "P1" written right-aligned in 22-35; the code columns 22-24 are blank.
    EXPECT_EQ(t.workspace.line(1).substr(0, 27), "For R5|Adr 0002|KR       1|");
    EXPECT_EQ(t.workspace.line(2), "END");
    EXPECT_EQ(t.state.currentDocumentName, "NONAME.TXT");

    // Stopped by an "END" line: no "END" is added.
    t.setLines({ti, "END", ti});
    EXPECT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lineCount(), 1u);
}

TEST(M5ToR5, RoundTripFromR5KeepsAddressesAndFields) {
    TestContext t;
    t.workspace.load(test::DataFile("samples/polar-survey.r5"));
    const auto original = t.workspace.lines();
    ASSERT_EQ(R5ToM5Command(t.ctx), CommandStatus::Done);
    ASSERT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    const auto& back = t.workspace.lines();
    ASSERT_EQ(back.size(), original.size());  // the END line comes back too
    for (std::size_t i = 0; i + 1 < back.size(); ++i) {
        const R5Line a(original[i], i + 1), b(back[i], i + 1);
        EXPECT_EQ(a.address(), b.address());
        EXPECT_EQ(a.kind(), b.kind());
        for (int f = 0; f < 3; ++f) {
            EXPECT_EQ(a.fieldType(f), b.fieldType(f));
            if (a.fieldUnit(f) == "gon ") {
                EXPECT_EQ(b.fieldUnit(f), "DMS ");
                EXPECT_EQ(b.fieldValue(f), "   " + GonToDmsText(a.fieldNumber(f)));
            } else {
                EXPECT_EQ(a.fieldValue(f), b.fieldValue(f));
                EXPECT_EQ(a.fieldUnit(f), b.fieldUnit(f));
            }
        }
    }
}

}  // namespace
}  // namespace tarvosen::zeiss
