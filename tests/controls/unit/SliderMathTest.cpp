#include "controls/SliderMath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zephrin::slider {
namespace {

TEST(SliderMath, SnapsThePointerToTheGridAnchoredAtZero)
{
    EXPECT_EQ(valueAt(114, 200, 0, 100, 1), 57);
    EXPECT_EQ(valueAt(0, 200, 5, 100, 10), 10);       // 5 rounds up to the grid point 10
    EXPECT_EQ(valueAt(50, 200, -1, 1, 0.25), -0.5);
    EXPECT_DOUBLE_EQ(valueAt(100, 200, 0, 1, 0.01), 0.5);
}

TEST(SliderMath, KeepsEveryValueInsideTheRange)
{
    // Sweep the whole track and beyond, for ranges whose ends are off the grid.
    struct Range { double lower, upper, step; };
    for (const Range r : {Range{0, 10, 4}, Range{5, 100, 10}, Range{-7, 7, 5}, Range{0.1, 0.9, 0.25}})
        for (double x = -50; x <= 250; x += 0.5) {
            const double v = valueAt(x, 200, r.lower, r.upper, r.step);
            EXPECT_GE(v, r.lower);
            EXPECT_LE(v, r.upper);
            EXPECT_FALSE(v == 0 && std::signbit(v));
        }
    EXPECT_EQ(valueAt(250, 200, 0, 10, 4), 10);
    EXPECT_EQ(valueAt(-50, 200, -7, 7, 5), -5);
}

TEST(SliderMath, ATrackWithoutWidthGivesTheLowerEnd)
{
    EXPECT_EQ(valueAt(10, 0, 0, 100, 1), 0);
    EXPECT_EQ(valueAt(10, -5, 20, 100, 1), 20);
}

TEST(SliderMath, FillAndThumbStayOnTheTrack)
{
    EXPECT_EQ(fillWidth(0, 200, 0, 100), 0);
    EXPECT_EQ(fillWidth(50, 200, 0, 100), 100);
    EXPECT_EQ(fillWidth(-30, 200, 0, 100), 0);
    EXPECT_EQ(fillWidth(130, 200, 0, 100), 200);
    EXPECT_EQ(thumbOffset(0, 200, 0, 100), 0);
    EXPECT_EQ(thumbOffset(50, 200, 0, 100), 92);
    EXPECT_EQ(thumbOffset(100, 200, 0, 100), 184);
    EXPECT_EQ(thumbOffset(130, 200, 0, 100), 184);
    EXPECT_EQ(thumbOffset(-30, 200, 0, 100), 0);
}

} // namespace
} // namespace zephrin::slider
