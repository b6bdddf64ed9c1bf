#include <gtest/gtest.h>

#include "app/errors.h"
#include "app/line_reader.h"
#include "tests/support/test_context.h"
#include "zeiss/m5_line.h"
#include "zeiss/r5_line.h"

namespace tarvosen::zeiss {
namespace {

using test::CorpusFile;

std::vector<std::string> ReadLines(const std::filesystem::path& p) {
    Workspace lines;
    lines.load(p);
    return lines.lines();
}

// Every record of a real R5 file comes back byte for byte when its parsed
// parts are written through the templates, so reader and writer agree on
// every column.
TEST(R5Line, CorpusRecordsRoundTripThroughTheTemplates) {
    int records = 0;
    for (const auto& text : ReadLines(CorpusFile("r5/tops-elta-r55.r5"))) {
        const R5Line line(text, 1);
        if (line.isEnd()) break;
        ASSERT_TRUE(line.isR5()) << text;
        ASSERT_EQ(text.size(), kR5LineLength);
        const std::string written =
            line.kind() == "KR"
                ? FormatR5PointLine(line.address(), line.code(), line.pointNumber(), line.fields())
                : FormatR5TextLine(line.address(), line.text(), line.fields());
        EXPECT_EQ(written, text);
        ++records;
    }
    EXPECT_EQ(records, 149);
}

TEST(R5Line, ColumnsAndFields) {
    const R5Line line(
        "For R5|Adr 0008|KR NTR1100|X       21.259 m   |Y       59.620 m   |Z       11.256 m   |",
        8);
    EXPECT_EQ(line.address(), 8);
    EXPECT_EQ(line.kind(), "KR");
    EXPECT_EQ(line.code(), "NTR");
    EXPECT_EQ(line.pointNumber(), "1100");
    EXPECT_EQ(line.at(48), 'Y');
    EXPECT_EQ(line.fieldType(2), "Z ");
    EXPECT_EQ(line.fieldValue(1), "     59.620");
    EXPECT_EQ(line.fieldUnit(0), "m   ");
    EXPECT_DOUBLE_EQ(line.fieldNumber(0), 21.259);

    // A short line reads as if padded with blanks: nothing past its end.
    const R5Line shortLine("For R5|Adr 0001|TR", 2);
    EXPECT_EQ(shortLine.text(), "       ");
    EXPECT_EQ(shortLine.fieldValue(2), std::string(11, ' '));
    EXPECT_DOUBLE_EQ(shortLine.fieldNumberOrZero(2), 0.0);
    EXPECT_THROW(shortLine.fieldNumber(2), ConversionError);

    EXPECT_TRUE(R5Line("END", 1).isEnd());
    EXPECT_TRUE(R5Line("ENDE of data", 1).isEnd());
    EXPECT_FALSE(R5Line("For R4|TR", 1).isR5());
    EXPECT_FALSE(R5Line("", 1).isR5());
}

TEST(R5Line, NumbersAreReadStrictlyAndErrorsNameLineAndColumns) {
    auto value = [](std::string v) {
        return R5Line("For R5|Adr 0001|KR       1|X  " + v + " m   |", 12).fieldNumber(0);
    };
    EXPECT_DOUBLE_EQ(value("     -1.500"), -1.5);
    EXPECT_DOUBLE_EQ(value("     +2.25 "), 2.25);
    EXPECT_DOUBLE_EQ(value("      1e3  "), 1000.0);
    for (const char* bad :
         {"      1,500", "   12.3.4  ", "        abc", "        inf", "          -"}) {
        try {
            value(bad);
            ADD_FAILURE() << bad;
        } catch (const ConversionError& e) {
            EXPECT_NE(std::string(e.what()).find("Line 12, columns 31-41"), std::string::npos);
        }
    }
    EXPECT_THROW(R5Line("For R5|Adr 00x1|", 1).address(), ConversionError);
    EXPECT_EQ(R5Line("For R5|Adr   17|", 1).address(), 17);
}

TEST(R5Line, TemplatesPadAndNeverCut) {
    const RecordFields fields{{{"th", "1.500", "m"}, {"", "", ""}, {"", "", ""}}};
    const std::string text = FormatR5TextLine(6, "INPUT", fields);
    EXPECT_EQ(
        text,
        "For R5|Adr 0006|TR   INPUT|th       1.500    m|                   |                   |");
    EXPECT_EQ(text.size(), kR5LineLength);

    const std::string coords = FormatR5CoordinateLine(1, "", "P1", "1.000", "2.000", "3.000");
    EXPECT_EQ(
        coords,
        "For R5|Adr 0001|KR      P1|X        1.000 m   |Y        2.000 m   |Z        3.000 m   |");

    // Wider values are written in full and shift the rest; the address
    // starts again at 0000 after 9999.
    const std::string wide =
        FormatR5CoordinateLine(12345, "ABCD", "P12345", "123456789.012", "0", "0");
    EXPECT_EQ(wide.substr(0, 40), "For R5|Adr 2345|KR ABCDP12345|X  1234567");
    EXPECT_EQ(wide.size(), kR5LineLength + 1 + 2 + 2);
}

// Values worked by hand: 11 columns hold sign, digits, point and decimals.
TEST(R5Line, ValuesAreFittedToElevenColumnsOrRefused) {
    struct Case {
        const char* given;
        const char* fitted;  // nullptr: cannot fit
    };
    for (const Case& c : {
             Case{"100.0", "100.0"},  // fits: as it stands
             Case{"", ""},
             Case{"538542.57000", "538542.5700"},
             Case{"1455644.37100", "1455644.371"},
             Case{"1455644.37150", "1455644.372"},  // half away from zero
             Case{"-123456.78951", "-123456.790"},
             Case{"  2000.0000005", "2000.000001"},  // blanks around it do not count
             Case{"999999.99996", "1000000.000"},    // the carry takes a decimal's column
             Case{"9999999.9996", nullptr},          // 10000000.000 is 12 columns
             Case{"12345678.1234", nullptr},         // 2 decimals would be left
             Case{"123456789012", nullptr},
             Case{"1.4556443710e6", nullptr},
             Case{"1455644.37 m", nullptr},
         }) {
        SCOPED_TRACE(c.given);
        const std::optional<std::string> fitted = FitR5Value(c.given);
        if (c.fitted) {
            ASSERT_TRUE(fitted);
            EXPECT_EQ(*fitted, c.fitted);
        } else {
            EXPECT_FALSE(fitted) << *fitted;
        }
    }
}

// The reader takes a line only when its fields stand in their columns.
TEST(R5Line, LayoutIsRecognisedByTheSeparators) {
    const std::string good =
        "For R5|Adr 0008|KR NTR1100|X       21.259 m   |Y       59.620 m   |Z       11.256 m   |";
    EXPECT_TRUE(R5Line(good, 1).hasR5Layout());
    EXPECT_TRUE(R5Line(good + "   ", 1).hasR5Layout());
    EXPECT_TRUE(R5Line(good.substr(0, 47), 1).hasR5Layout());  // fields 2 and 3 left off
    // One value two columns too wide, as the point export once wrote them.
    EXPECT_FALSE(R5Line(FormatR5CoordinateLine(1, "I", "1", "538542.57000", "1455644.37100",
                                               "681.31000"),
                        1)
                     .hasR5Layout());
    EXPECT_FALSE(R5Line(good.substr(0, 60), 1).hasR5Layout());  // cut inside a field
    EXPECT_TRUE(R5Line(good + "x", 1).hasR5Layout());  // beyond the record
    EXPECT_FALSE(R5Line("For R5|Adr 10000|KR NTR1100|X  1 m   |", 1).hasR5Layout());
}

TEST(M5Line, CorpusRecordsRoundTripThroughTheTemplates) {
    int records = 0;
    for (const auto& text : ReadLines(CorpusFile("m5/tops-elta-r55-R_E.m5"))) {
        const M5Line line(text, 1);
        if (line.isEnd()) break;
        ASSERT_TRUE(line.isM5());
        ASSERT_EQ(text.size(), kM5LineLength);
        std::string written;
        if (line.kind() == "PI1")
            written = FormatM5PointLine(line.address(), line.columns(22, 35), line.columns(36, 48),
                                        line.fields());
        else
            written = FormatM5TextLine(line.address(), line.information(), line.fields());
        EXPECT_EQ(written, text);
        ++records;
    }
    EXPECT_EQ(records, 149);
}

TEST(M5Line, DataLinesLeftAlignTheirUnits) {
    const RecordFields fields{{{"X", "1.000", "m"}, {"Y", "2.000", " "}, {"", "", ""}}};
    const std::string kd = FormatM5DataLine(3, "INPUT", fields);
    EXPECT_EQ(kd.size(), kM5LineLength);
    const M5Line line(kd, 1);
    EXPECT_EQ(line.kind(), "KD1");
    EXPECT_EQ(line.fieldType(0), " X");
    EXPECT_EQ(line.fieldValue(0), "         1.000");
    EXPECT_EQ(line.fieldUnit(0), "m   ");
    EXPECT_EQ(line.fieldUnit(1), "    ");
    EXPECT_EQ(FormatM5InformationLine(7, "x", fields).substr(0, 22), "For M5|Adr 00007|TO   ");
    EXPECT_EQ(line.address(), 3);
    EXPECT_EQ(M5Line("For M5|Adr     1|", 1).address(), 1);
}

}  // namespace
}  // namespace tarvosen::zeiss
