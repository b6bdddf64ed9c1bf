// GSI words: GSI8 and GSI16 blocks with and without '*', cut by their fixed
// width, and the values their unit codes give (worked by hand).

#include <gtest/gtest.h>

#include <cmath>

#include "leica/gsi_word.h"

namespace tarvosen::leica {
namespace {

constexpr double kPi = 3.141592653589793;

TEST(GsiWords, BlocksOfBothWidthsAndTheirValues) {
    // GSI8, from a published example of a total-station block.
    const auto ts = SplitGsiBlock("110002+00130021 21.102+19723700 22.102+10000000 31..00+00045179 "
                                  "51....+0000+000");
    ASSERT_TRUE(ts);
    EXPECT_EQ(ts->width, GsiWidth::Gsi8);
    EXPECT_EQ(ts->address, 2);
    ASSERT_EQ(ts->words.size(), 5u);
    EXPECT_EQ(GsiText(ts->words[0]), "130021");
    EXPECT_NEAR(*GsiAngleOf(*ts->find(21)), 197.237 * kPi / 200, 1e-12);
    EXPECT_NEAR(*GsiAngleOf(*ts->find(22)), kPi / 2, 1e-12);
    EXPECT_EQ(GsiLengthOf(*ts->find(31))->text, "45.179");

    // GSI16 without '*' (a real excerpt): told by where its first blank stands.
    const auto bare = SplitGsiBlock("110125+0000000003747MPI 32...8+0000000001289347 "
                                    "331.08+0000000000122303 ");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->width, GsiWidth::Gsi16);
    EXPECT_FALSE(bare->starred);
    EXPECT_EQ(GsiText(bare->words[0]), "3747MPI");
    EXPECT_EQ(bare->words[2].index, 331);
    EXPECT_EQ(GsiLengthOf(*bare->find(32))->text, "12.89347");
    EXPECT_DOUBLE_EQ(GsiLengthOf(*bare->find(331))->metres, 1.22303);

    // A quick-closure block of the DNA03: a text with a blank and a Latin-2
    // byte, no address, three-digit word indices.
    const auto qc = SplitGsiBlock("*505.08+0000000000000000 508...+00000Gyors z\xe1r\xe1s "
                                  "509...+000000000000000S 513.08-0000000000039732 ");
    ASSERT_TRUE(qc);
    EXPECT_FALSE(qc->address);
    EXPECT_EQ(qc->words[1].index, 508);
    EXPECT_EQ(qc->words[1].data, "00000Gyors z\xe1r\xe1s");
    EXPECT_EQ(GsiText(*qc->find(509)), "S");
    EXPECT_EQ(GsiLengthOf(*qc->find(513))->text, "-0.39732");

    // Units: 123°45'30.2", 3200 mil = 180°, 100 decimal degrees, 10 ft, 1 ft
    // at 1/10000, 1.2345 m at 1/10 mm.
    auto word = [](std::string_view text) { return SplitGsiBlock(text)->words[0]; };
    EXPECT_NEAR(*GsiAngleOf(word("21.104+12345302")),
                (123 + 45 / 60.0 + 30.2 / 3600) * kPi / 180, 1e-12);
    EXPECT_NEAR(*GsiAngleOf(word("21.105+32000000")), kPi, 1e-12);
    EXPECT_NEAR(*GsiAngleOf(word("21.103+10000000")), 100 * kPi / 180, 1e-12);
    EXPECT_EQ(GsiLengthOf(word("31..01+00010000"))->text, "3.0480");
    EXPECT_EQ(GsiLengthOf(word("31..07+00010000"))->text, "0.30480");
    EXPECT_EQ(GsiLengthOf(word("32...6+00012345"))->text, "1.2345");

    // A length unit is no angle and the other way round; 61 minutes are no DMS
    // angle; 9 is no GSI unit; a word cut short is no block.
    EXPECT_FALSE(GsiAngleOf(word("21..06+00012345")));
    EXPECT_FALSE(GsiLengthOf(word("31..02+00012345")));
    EXPECT_FALSE(GsiAngleOf(word("21.104+12361000")));
    EXPECT_FALSE(KnownGsiUnit('9'));
    EXPECT_FALSE(SplitGsiBlock("110002+0013002 21.102+19723700"));
}

}  // namespace
}  // namespace tarvosen::leica
