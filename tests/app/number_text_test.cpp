// The one number reader of records, option fields and cells.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "app/number_text.h"

namespace tarvosen {
namespace {

TEST(NumberText, WholeTextsReadWithOneSignAndTheCallersBlanks) {
    EXPECT_EQ(ParseWholeNumber("\t-12.5 "), -12.5);
    EXPECT_FALSE(ParseWholeNumber("+-5"));
    EXPECT_FALSE(ParseWholeNumber("-+5"));
    // A form feed is a blank only where the caller says white space counts.
    EXPECT_FALSE(ParseWholeNumber("\f3"));
    EXPECT_EQ(ParseWholeNumber("\f3\r", Blanks::WhiteSpace), 3);
    EXPECT_EQ(ParseWholeNumber("\x01" "7\x7f", Blanks::SpacesAndControls), 7);

    EXPECT_EQ(ParseWholeInteger(" +42"), 42);
    EXPECT_EQ(ParseWholeInteger(std::to_string(LONG_MIN)), LONG_MIN);
    for (const char* bad : {"", "-", "+-1", "1.0", "12a", "99999999999999999999"})
        EXPECT_FALSE(ParseWholeInteger(bad)) << bad;
}

// The leading number reads as the C library's strtod does wherever it finds
// a plain decimal number.
TEST(NumberText, LeadingNumbersAgreeWithStrtod) {
    for (const char* text : {"  -12.5m", "+.25", "1e3x", "007", " 4.5e-2,", "-0"}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(LeadingNumber(text));
        EXPECT_EQ(*LeadingNumber(text), std::strtod(text, nullptr));
    }
    for (const char* text : {"", "m5", "inf", "+-1", ".", "1e999"})
        EXPECT_FALSE(LeadingNumber(text)) << text;
    EXPECT_EQ(LeadingDecimal("nan"), 0);
    EXPECT_EQ(LeadingInteger(" -12.9"), -12);
}

}  // namespace
}  // namespace tarvosen
