#include "adjustment/angle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace tarvosen {
namespace {

double Dms(int d, int m, double s) {
    return (d + m / 60.0 + s / 3600.0) * kPi / 180;
}

std::string Joined(const DmsParts& p) {
    return p.degrees + "|" + p.minutes + "|" + p.seconds;
}

TEST(DmsText, SplitsIntoDegreesMinutesAndSeconds) {
    EXPECT_EQ(Joined(SplitDmsText("123.45302")), "123|45|30.2");
    EXPECT_EQ(Joined(SplitDmsText("123.4530")), "123|45|30");
    EXPECT_EQ(Joined(SplitDmsText("-10.3000")), "-10|30|00");
    // Digits dropped at the end of a packed number are zeros.
    EXPECT_EQ(Joined(SplitDmsText("12.3")), "12|30|00");
    EXPECT_EQ(Joined(SplitDmsText("7")), "7|00|00");
    EXPECT_EQ(Joined(SplitDmsText(" 45.3012 ")), "45|30|12");
}

TEST(DmsText, ReadsAsRadians) {
    EXPECT_DOUBLE_EQ(DmsTextToRadians("90.0000"), kPi / 2);
    EXPECT_DOUBLE_EQ(DmsTextToRadians("0.3000"), Dms(0, 30, 0));
    EXPECT_DOUBLE_EQ(DmsTextToRadians("-10.3000"), -Dms(10, 30, 0));
    EXPECT_DOUBLE_EQ(DmsTextToRadians("123.45302"), Dms(123, 45, 30.2));
    EXPECT_DOUBLE_EQ(DmsTextToRadians("0.0000"), 0);
    EXPECT_DOUBLE_EQ(DmsTextToRadians("12.3"), Dms(12, 30, 0));
    // The minus sign belongs to the whole angle, also with zero degrees.
    EXPECT_DOUBLE_EQ(DmsTextToRadians("-0.3000"), -Dms(0, 30, 0));
    // Garbage reads leniently as zero where it is not a number.
    EXPECT_DOUBLE_EQ(DmsTextToRadians(""), 0);
    EXPECT_DOUBLE_EQ(DmsTextToRadians("abc.1230"), Dms(0, 12, 30));
    EXPECT_DOUBLE_EQ(DmsTextToRadians("nan"), 0);
    EXPECT_DOUBLE_EQ(DmsPartsToRadians("10", "20", "30.5"), Dms(10, 20, 30.5));
}

TEST(ReduceToTurn, BringsAnglesIntoOneTurn) {
    EXPECT_DOUBLE_EQ(ReducedToTurn(-kPi / 2), 3 * kPi / 2);
    EXPECT_NEAR(ReducedToTurn(4 * kPi + 0.1), 0.1, 1e-12);
    EXPECT_DOUBLE_EQ(ReducedToTurn(kPi / 2, true), -3 * kPi / 2);
    EXPECT_EQ(ReducedToTurn(kTwoPi), 0);
    EXPECT_EQ(ReducedToTurn(kTwoPi - 1e-11), 0);
    EXPECT_EQ(ReducedToTurn(0, true), 0);
    // Huge and non-finite values do not hang the reduction.
    const double huge = ReducedToTurn(1e300);
    EXPECT_GE(huge, 0);
    EXPECT_LT(huge, kTwoPi);
    EXPECT_TRUE(std::isinf(ReducedToTurn(INFINITY)));
    double inPlace = -kPi;
    ReduceToTurn(inPlace);
    EXPECT_DOUBLE_EQ(inPlace, kPi);
}

TEST(FormatDmsCompact, WritesRoundedSecondsWithCarries) {
    EXPECT_EQ(FormatDmsCompact(Dms(5, 3, 7)), "  5.0307");
    EXPECT_EQ(FormatDmsCompact(Dms(45, 30, 12)), " 45.3012");
    EXPECT_EQ(FormatDmsCompact(Dms(123, 45, 30.4)), "123.4530");
    EXPECT_EQ(FormatDmsCompact(Dms(10, 20, 59.5)), " 10.2100");
    EXPECT_EQ(FormatDmsCompact(Dms(10, 59, 59.5)), " 11.0000");
    EXPECT_EQ(FormatDmsCompact(Dms(359, 59, 59.8)), "360.0000");
    EXPECT_EQ(FormatDmsCompact(-Dms(10, 0, 0)), "350.0000");
    EXPECT_EQ(FormatDmsCompact(Dms(10, 0, 0) - Dms(350, 0, 0)), " 20.0000");
    EXPECT_EQ(FormatDmsCompact(kTwoPi - 1e-12), "  0.0000");
}

TEST(SplitDmsRounded, KeepsEvenSecondsAndRoundsOddOnes) {
    EXPECT_EQ(Joined(SplitDmsRounded(Dms(10, 20, 30.4))), " 10|20|30");
    EXPECT_EQ(Joined(SplitDmsRounded(Dms(10, 20, 30.6))), " 10|20|30");
    EXPECT_EQ(Joined(SplitDmsRounded(Dms(10, 20, 31.4))), " 10|20|31");
    EXPECT_EQ(Joined(SplitDmsRounded(Dms(10, 20, 31.6))), " 10|20|32");
    EXPECT_EQ(Joined(SplitDmsRounded(Dms(10, 20, 59.7))), " 10|21|0");
    EXPECT_EQ(Joined(SplitDmsRounded(Dms(10, 59, 59.5))), " 11|00|0");
    EXPECT_EQ(Joined(SplitDmsRounded(Dms(359, 59, 59.8))), "360|00|0");
    EXPECT_EQ(Joined(SplitDmsRounded(Dms(359, 59, 58.8))), "359|59|58");
    EXPECT_EQ(Joined(SplitDmsRounded(-Dms(0, 0, 1))), "359|59|59");
}

// A reading converted to radians must come back as itself, over the whole
// circle: text -> radians -> text for every whole second of a sparse grid and
// for every second of every minute near the turn and the quadrants.
TEST(AngleRoundTrip, WholeSecondReadingsComeBackUnchanged) {
    char text[32];
    int checked = 0;
    for (int d = 0; d < 360; ++d) {
        for (int m = 0; m < 60; m += (d % 90 == 0 || d == 359 || d == 253) ? 1 : 7) {
            for (int s = 0; s < 60; ++s) {
                std::snprintf(text, sizeof text, "%d.%02d%02d", d, m, s);
                const double a = DmsTextToRadians(text);
                char expected[32];
                std::snprintf(expected, sizeof expected, "%3d.%02d%02d", d, m, s);
                ASSERT_EQ(FormatDmsCompact(a), expected) << text;
                std::snprintf(expected, sizeof expected, "%3d|%02d|%d", d, m, s);
                ASSERT_EQ(Joined(SplitDmsRounded(a)), expected) << text;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 200000);
}

TEST(AngleRoundTrip, KnownFragileReadings) {
    // Truncating the seconds straight from the radian value gives each of
    // these (an odd second) back one second short.
    for (const char* text : {"253.4829", "115.0457", "118.1919", "229.2929", "230.1145"}) {
        const DmsParts p = SplitDmsRounded(DmsTextToRadians(text));
        EXPECT_EQ(DmsTextToRadians(text), DmsPartsToRadians(p.degrees, p.minutes, p.seconds))
            << text;
    }
}

TEST(AngleRoundTrip, TenthsOfSecondsRoundOnlyFromOddSeconds) {
    char text[32];
    for (int tenth = 0; tenth < 10; ++tenth) {
        for (int s = 0; s < 60; ++s) {
            std::snprintf(text, sizeof text, "359.59%02d%d", s, tenth);
            const DmsParts p = SplitDmsRounded(DmsTextToRadians(text));
            const bool up = s % 2 == 1 && tenth >= 5;
            const int expected = up ? s + 1 : s;
            if (expected == 60) {
                EXPECT_EQ(Joined(p), "360|00|0") << text;
            } else {
                EXPECT_EQ(Joined(p), "359|59|" + std::to_string(expected)) << text;
            }
            const std::string compact = FormatDmsCompact(DmsTextToRadians(text));
            const int nearest = s + (tenth >= 5 ? 1 : 0);
            EXPECT_EQ(compact, nearest == 60 ? "360.0000"
                                             : "359.59" + std::string(nearest < 10 ? "0" : "") +
                                                   std::to_string(nearest))
                << text;
        }
    }
}

}  // namespace
}  // namespace tarvosen
