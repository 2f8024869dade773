#include "output/vector/MedianCutPalette.h"

#include "output/vector/TraceFixtures.h"

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::tracing;

namespace {

RGBABitmap bitmapOf(const Image& image) { return *makeBitmap(image, 10000); }

} // namespace

// Boxes of one colour are still split: a picture of two equal halves fills all
// the boxes asked for, the first cut separating the colours cleanly.
TEST(MedianCutPalette, KeepsSplittingIdenticalColours)
{
    const auto halves = zephrin::testing::painting(30, 20, [](int x, int) {
        return x < 15 ? cv::Vec3b{255, 0, 0} : cv::Vec3b{0, 0, 255};
    });
    const auto everything = zephrin::testing::mask(30, 20, [](int, int) { return true; });
    const auto palette = medianCutPalette(bitmapOf(halves), everything, 8);
    ASSERT_EQ(palette.size(), 8u);
    int red = 0;
    for (const RGB& c : palette) {
        EXPECT_TRUE((c == RGB{1, 0, 0}) || (c == RGB{0, 0, 1}));
        red += c == RGB{1, 0, 0};
    }
    EXPECT_EQ(red, 4);
}

TEST(MedianCutPalette, ReadsOnlyMaskedPixelsAndFallsBackToBlack)
{
    const auto halves = zephrin::testing::painting(30, 20, [](int x, int) {
        return x < 10 ? cv::Vec3b{255, 0, 0} : cv::Vec3b{0, 255, 0};
    });
    const auto left = zephrin::testing::mask(30, 20, [](int x, int) { return x < 10; });
    EXPECT_EQ(medianCutPalette(bitmapOf(halves), left, 4), std::vector<RGB>(4, RGB{1, 0, 0}));

    const auto none = zephrin::testing::mask(30, 20, [](int, int) { return false; });
    EXPECT_EQ(medianCutPalette(bitmapOf(halves), none, 4), std::vector<RGB>{RGB{}});
}
