#include "controls/ChipWidths.h"

#include <gtest/gtest.h>

namespace zephrin {

TEST(ChipWidths, EqualWhileEveryTitleFitsItsShare)
{
    // 300 wide, two gaps of 8: shares of 94.67.
    const QList<double> widths = chips::widths({40, 90, 60}, 300, 8);
    ASSERT_EQ(widths.size(), 3);
    for (const double w : widths)
        EXPECT_NEAR(w, 284.0 / 3, 1e-9);
}

TEST(ChipWidths, ALongTitleTakesWhatTheShortOnesSpare)
{
    // 278 wide, three gaps: 254 to share; the titles ask 84 + 48 + 63 + 50 = 245.
    const QList<double> widths = chips::widths({84, 48, 63, 50}, 278, 8);
    ASSERT_EQ(widths.size(), 4);
    const double extra = (254.0 - 245) / 4;
    EXPECT_DOUBLE_EQ(widths[0], 84 + extra);
    EXPECT_DOUBLE_EQ(widths[1], 48 + extra);
    double sum = 0;
    for (const double w : widths)
        sum += w;
    EXPECT_DOUBLE_EQ(sum, 254);
}

TEST(ChipWidths, TooNarrowShrinksEveryChipAlike)
{
    const QList<double> widths = chips::widths({100, 50}, 83, 8);
    EXPECT_DOUBLE_EQ(widths[0], 50);
    EXPECT_DOUBLE_EQ(widths[1], 25);
    // No room at all, and no chips.
    EXPECT_EQ(chips::widths({10, 10}, 4, 8), (QList<double>{0, 0}));
    EXPECT_TRUE(chips::widths({}, 100, 8).isEmpty());
}

} // namespace zephrin
