// Number reading, number text and decimal rounding, which every read-back and
// every ROUND goes through.

#include <gtest/gtest.h>

#include <cmath>

#include "spreadsheet/values.h"

namespace tarvosen::spreadsheet {
namespace {

TEST(Values, ReadOnlyPlainDecimalNumbers) {
    EXPECT_EQ(ParseWholeNumber("1.52340"), 1.5234);
    EXPECT_EQ(ParseWholeNumber("  +12  "), 12);
    EXPECT_EQ(ParseWholeNumber("-.5"), -0.5);
    EXPECT_EQ(ParseWholeNumber("5."), 5);
    EXPECT_EQ(ParseWholeNumber("1E-3"), 0.001);
    for (const char* text : {"", " ", "-", ".", "1e", "1e+", "0x10", "inf", "nan", "1,5", "1.2.3",
                             "12a", "--1", "1e999"})
        EXPECT_FALSE(ParseWholeNumber(text).has_value()) << text;
}

TEST(Values, NumbersReadBackWithFifteenSignificantDigits) {
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(-0.0), "0");
    EXPECT_EQ(FormatNumber(1001), "1001");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatNumber(-0.19999999999999574), "-0.199999999999996");
    EXPECT_EQ(FormatNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FormatNumber(123456.789), "123456.789");
    EXPECT_EQ(FormatNumber(0.0001234), "0.0001234");
    EXPECT_EQ(FormatNumber(999999999999999.0), "999999999999999");
    EXPECT_EQ(FormatNumber(1e15), "1E+15");
    EXPECT_EQ(FormatNumber(-2.5e-12), "-2.5E-12");
    EXPECT_EQ(FormatNumber(3512345.6789), "3512345.6789");
    EXPECT_EQ(FormatNumber(9.9999999999999999), "10");
}

TEST(Values, RoundingIsDecimalAndHalfAwayFromZero) {
    EXPECT_EQ(RoundDecimal(2.675, 2), 2.68);
    EXPECT_EQ(RoundDecimal(-2.675, 2), -2.68);
    EXPECT_EQ(RoundDecimal(1.005, 2), 1.01);
    EXPECT_EQ(RoundDecimal(0.5, 0), 1);
    EXPECT_EQ(RoundDecimal(0.49999999999999994, 0), 1);  // shown as 0.5, so rounded up
    EXPECT_EQ(RoundDecimal(1234.5678, -2), 1200);
    EXPECT_EQ(RoundDecimal(49, -2), 0);
    EXPECT_EQ(RoundDecimal(50, -2), 100);
    EXPECT_EQ(RoundDecimal(0.000123456, 5), 0.00012);
    EXPECT_EQ(RoundDecimal(7.0, 3), 7.0);
    EXPECT_TRUE(std::isnan(RoundDecimal(std::nan(""), 2)));
}

TEST(Values, TextThatIsNotUtf8IsReadAsGb18030) {
    EXPECT_EQ(ToUtf8("plain"), "plain");
    EXPECT_EQ(ToUtf8("测站"), "测站");
    EXPECT_EQ(ToUtf8("\xB2\xE2\xD5\xBE"), "测站");
    // Bytes that are neither become U+FFFD, never invalid UTF-8.
    std::string mixed = ToUtf8("a\xFF" "b");
    EXPECT_EQ(mixed.front(), 'a');
    EXPECT_EQ(mixed.back(), 'b');
    EXPECT_NE(mixed.find("\xEF\xBF\xBD"), std::string::npos);
}

}  // namespace
}  // namespace tarvosen::spreadsheet
