#include "engine/matte/MatteEngine.h"

#include <gtest/gtest.h>

#include <set>

using namespace zephrin;

namespace {

// An opaque image whose left `leftColumns` columns have one grey-ish colour and
// the rest another (bytes R, G, B; premultiplied by full alpha).
Image twoColours(int w, int h, int leftColumns, cv::Vec3b left, cv::Vec3b right)
{
    cv::Mat pixels(h, w, CV_8UC4, cv::Scalar(right[0], right[1], right[2], 255));
    pixels.colRange(0, leftColumns).setTo(cv::Scalar(left[0], left[1], left[2], 255));
    return Image(pixels);
}

void checkColour(const RGBAColor& color, double r, double g, double b)
{
    EXPECT_NEAR(color.r, r, 1e-9);
    EXPECT_NEAR(color.g, g, 1e-9);
    EXPECT_NEAR(color.b, b, 1e-9);
    EXPECT_EQ(color.a, 1.0);
}

} // namespace

TEST(SelectionPalette, AFlatImageIsOneColourWithTheWholeShare)
{
    const auto palette = MatteEngine::selectionPalette(twoColours(300, 200, 0, {}, {40, 120, 200}), std::nullopt, {}, 8);
    ASSERT_EQ(palette.size(), 1u);
    checkColour(palette[0].color, 40 / 255.0, 120 / 255.0, 200 / 255.0);
    EXPECT_DOUBLE_EQ(palette[0].share, 1.0);
}

TEST(SelectionPalette, MergesColoursCloserThanTheMergeDistance)
{
    // 0.098 apart (25 of 255 in red): one entry, the share-weighted mean.
    const auto near = MatteEngine::selectionPalette(twoColours(100, 50, 60, {128, 128, 128}, {153, 128, 128}),
                                                    std::nullopt, {}, 8);
    ASSERT_EQ(near.size(), 1u);
    checkColour(near[0].color, (0.6 * 128 + 0.4 * 153) / 255.0, 128 / 255.0, 128 / 255.0);
    EXPECT_NEAR(near[0].share, 1.0, 1e-12);

    // 0.2 apart (51 of 255): two entries, the larger share first.
    const auto apart = MatteEngine::selectionPalette(twoColours(100, 50, 60, {128, 128, 128}, {179, 128, 128}),
                                                     std::nullopt, {}, 8);
    ASSERT_EQ(apart.size(), 2u);
    checkColour(apart[0].color, 128 / 255.0, 128 / 255.0, 128 / 255.0);
    EXPECT_NEAR(apart[0].share, 0.6, 1e-12);
    checkColour(apart[1].color, 179 / 255.0, 128 / 255.0, 128 / 255.0);
    EXPECT_NEAR(apart[1].share, 0.4, 1e-12);

    const auto one = MatteEngine::selectionPalette(twoColours(100, 50, 60, {128, 128, 128}, {179, 128, 128}),
                                                   std::nullopt, {}, 1);
    EXPECT_EQ(one.size(), 1u);
}

TEST(SelectionPalette, SamplesOnlyInsideTheSelection)
{
    const Image image = twoColours(100, 50, 60, {10, 200, 10}, {200, 10, 10});
    const auto right = MatteEngine::selectionPalette(image, SelectionKind::rectangle, {{70, 10}, {95, 40}}, 8);
    ASSERT_EQ(right.size(), 1u);
    checkColour(right[0].color, 200 / 255.0, 10 / 255.0, 10 / 255.0);

    // A lasso of two points has no path: the whole image counts.
    EXPECT_EQ(MatteEngine::selectionPalette(image, SelectionKind::lasso, {{70, 10}, {95, 40}}, 8).size(), 2u);
}

TEST(SelectionPalette, IgnoresPixelsOfHalfAlphaOrLess)
{
    EXPECT_TRUE(MatteEngine::selectionPalette(Image::transparent({40, 30}), std::nullopt, {}, 8).empty());

    // Alpha 127 is not above one half, 128 is; the colour stays premultiplied.
    cv::Mat pixels(30, 40, CV_8UC4, cv::Scalar(100, 0, 0, 127));
    pixels.colRange(0, 10).setTo(cv::Scalar(128, 64, 0, 128));
    const auto palette = MatteEngine::selectionPalette(Image(pixels), std::nullopt, {}, 8);
    ASSERT_EQ(palette.size(), 1u);
    checkColour(palette[0].color, 128 / 255.0, 64 / 255.0, 0);

    // A selection over transparent pixels only.
    const auto inside = MatteEngine::selectionPalette(Image(pixels), SelectionKind::ellipse, {{20, 0}, {40, 30}}, 8);
    EXPECT_TRUE(inside.empty());
    EXPECT_TRUE(MatteEngine::selectionPalette(Image(), std::nullopt, {}, 8).empty());
}

TEST(SelectionPalette, SplitsManyColoursIntoAtMostCountEntries)
{
    // The eight corners of the colour cube in stripes of equal width: median
    // cut separates them exactly.
    cv::Mat pixels(64, 360, CV_8UC4);
    for (int i = 0; i < 8; ++i)
        pixels.colRange(45 * i, 45 * i + 45).setTo(cv::Scalar((i & 1) * 255, (i >> 1 & 1) * 255, (i >> 2 & 1) * 255, 255));

    const auto all = MatteEngine::selectionPalette(Image(pixels), std::nullopt, {}, 8);
    ASSERT_EQ(all.size(), 8u);
    std::set<std::array<double, 3>> corners;
    for (const PaletteColor& entry : all) {
        EXPECT_NEAR(entry.share, 1 / 8.0, 1e-12);
        corners.insert({entry.color.r, entry.color.g, entry.color.b});
    }
    EXPECT_EQ(corners.size(), 8u);

    // Three wanted: six boxes, the two largest still mixing two corners each.
    const auto few = MatteEngine::selectionPalette(Image(pixels), std::nullopt, {}, 3);
    ASSERT_EQ(few.size(), 3u);
    EXPECT_NEAR(few[0].share, 0.25, 1e-12);
    EXPECT_NEAR(few[1].share, 0.25, 1e-12);
    EXPECT_NEAR(few[2].share, 0.125, 1e-12);
}
