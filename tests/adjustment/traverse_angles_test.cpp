#include "adjustment/traverse_angles.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvosen {
namespace {

double Dms(int d, int m, double s) {
    return (d + m / 60.0 + s / 3600.0) * kPi / 180;
}
std::string Joined(const DmsParts& p) {
    return p.degrees + "|" + p.minutes + "|" + p.seconds;
}

TEST(SecondsSum, AddsAMinuteForEveryMinuteApartTheShortWayRound) {
    EXPECT_EQ(SecondsSum(SplitDmsRounded(Dms(45, 30, 58)), SplitDmsRounded(Dms(225, 31, 2))), 120);
    EXPECT_EQ(SecondsSum(SplitDmsRounded(Dms(45, 30, 2)), SplitDmsRounded(Dms(225, 29, 58))), 120);
    EXPECT_EQ(SecondsSum(SplitDmsRounded(Dms(45, 30, 10)), SplitDmsRounded(Dms(225, 30, 14))), 24);
    // Across the hour 59' and 00' are one minute apart, not 59.
    EXPECT_EQ(SecondsSum(SplitDmsRounded(Dms(10, 59, 58)), SplitDmsRounded(Dms(191, 0, 2))), 120);
    EXPECT_EQ(SecondsSum(SplitDmsRounded(Dms(11, 0, 2)), SplitDmsRounded(Dms(190, 59, 58))), 120);
}

TEST(MeanDirection, IsRightInEitherHalfOfTheCircleAndAcrossNorth) {
    EXPECT_EQ(Joined(SplitDmsRounded(MeanDirection(Dms(45, 30, 58), Dms(225, 31, 2)))), " 45|31|0");
    // Face I above 180°: the mean is near face I, not 180° away from it.
    EXPECT_EQ(Joined(SplitDmsRounded(MeanDirection(Dms(225, 31, 2), Dms(45, 30, 58)))), "225|31|0");
    EXPECT_EQ(Joined(SplitDmsRounded(MeanDirection(Dms(359, 59, 58), Dms(180, 0, 2)))), "  0|00|0");
    EXPECT_EQ(Joined(SplitDmsRounded(MeanDirection(Dms(0, 0, 2), Dms(179, 59, 54)))), "359|59|58");
    EXPECT_EQ(Joined(SplitDmsRounded(MeanDirection(Dms(179, 59, 59), Dms(0, 0, 3)))), "180|00|1");
}

TEST(HorizontalAngle, IsForesightMinusBacksightWhicheverHalfTheBacksightLiesIn) {
    const auto angle = [](double bI, double bII, double fI, double fII) {
        return Joined(SplitDmsRounded(HorizontalAngle(bI, bII, fI, fII)));
    };
    EXPECT_EQ(angle(Dms(0, 0, 4), Dms(180, 0, 0), Dms(139, 5, 2), Dms(319, 4, 56)), "139|04|57");
    // A backsight read above 180° in face I must not put the angle 180° off.
    EXPECT_EQ(angle(Dms(180, 0, 17), Dms(0, 0, 9), Dms(307, 39, 54), Dms(127, 39, 46)),
              "127|39|37");
    EXPECT_EQ(angle(Dms(270, 0, 5), Dms(90, 0, 7), Dms(57, 34, 0), Dms(237, 34, 2)), "147|33|55");
    // Both faces above 180° halves only shift the means; the angle stays.
    EXPECT_EQ(angle(Dms(200, 0, 0), Dms(20, 0, 0), Dms(250, 0, 0), Dms(70, 0, 0)), " 50|00|0");
}

TEST(IndexError, KeepsWholeSecondsAndMovesOddOnesWithAFraction) {
    const auto index = [](double seconds) {
        // Zenith readings whose index error is exactly `seconds`.
        return IndexErrorSeconds(Dms(90, 0, 0) + seconds * kPi / 648000,
                                 Dms(270, 0, 0) + seconds * kPi / 648000);
    };
    EXPECT_EQ(index(3), 3);
    EXPECT_EQ(index(12.5), 12);
    EXPECT_EQ(index(13.5), 14);
    EXPECT_EQ(index(-13.5), -14);
    EXPECT_EQ(index(-12.5), -12);
    EXPECT_EQ(index(0), 0);
    EXPECT_EQ(index(13.005), 13);
    EXPECT_EQ(IndexErrorSeconds(Dms(90, 0, 10), Dms(269, 59, 56)), 3);
    EXPECT_EQ(Joined(SplitDmsRounded(CorrectedZenith(Dms(90, 0, 10), 3))), " 90|00|7");
}

TEST(IndexError, WholeSecondsComeOutWholeFromReadingsAllRoundTheCircle) {
    // Every zenith pair with a whole-second index error from −30" to 30".
    for (int z = 60; z <= 120; z += 3) {
        for (int m = 0; m < 60; m += 7) {
            for (int e = -30; e <= 30; ++e) {
                const double zI = Dms(z, m, 17 + e);
                const double zII = Dms(360 - z - 1, 59 - m, 60 - 17 + e);
                ASSERT_EQ(IndexErrorSeconds(zI, zII), e) << z << " " << m << " " << e;
            }
        }
    }
}

}  // namespace
}  // namespace tarvosen
