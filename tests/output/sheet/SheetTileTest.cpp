#include "output/sheet/SheetEngine.h"

#include "output/sheet/SheetFixtures.h"

#include <gtest/gtest.h>

using namespace zephrin;
using zephrin::testing::opaqueImage;
using zephrin::testing::silhouette;
using zephrin::testing::stickerItem;

namespace {

// 600 × 600 pixels (2 inches at 300 dpi, so no resampling) with an opaque
// square over pixels 200 to 399 on both axes.
Image centredSquare()
{
    return silhouette(600, 600, [](int x, int y) { return x >= 200 && x < 400 && y >= 200 && y < 400; },
                      {30, 160, 60});
}

// The first and last column of `row` where `inside(value)` holds; (-1, -1) if none.
template <class Inside>
std::pair<int, int> span(const cv::Mat& pixels, int row, Inside inside)
{
    int first = -1, last = -1;
    for (int x = 0; x < pixels.cols; ++x)
        if (inside(x, row)) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {first, last};
}

std::pair<int, int> alphaSpan(const Image& tile, int row)
{
    return span(tile.pixels, row, [&](int x, int y) { return tile.pixels.at<cv::Vec4b>(y, x)[3] > 0; });
}

std::pair<int, int> maskSpan(const Matte& mask, int row)
{
    return span(mask.pixels, row, [&](int x, int y) { return mask.pixels.at<uchar>(y, x) > 127; });
}

} // namespace

// 2 inches at 300 dpi with border 0.08 and bleed 0.03: reach 33 pixels, tile
// 666 wide; the cut outline is the sticker grown by 24 pixels, the border
// colour reaches 33.
TEST(MakeTile, SizesAndReachesAt300Dpi)
{
    const SheetEngine engine;
    const auto tile = engine.makeTile(stickerItem(centredSquare(), 2.0, 1), SheetSettings{});
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->tile.size(), cv::Size(666, 666));
    EXPECT_EQ(tile->mask.size(), cv::Size(666, 666));
    EXPECT_EQ(tile->tile.origin, cv::Point(0, 0));

    // The square sits at 233 to 432 in the tile.
    EXPECT_EQ(alphaSpan(tile->tile, 333), std::make_pair(233 - 33, 432 + 33));
    EXPECT_EQ(maskSpan(tile->mask, 333), std::make_pair(233 - 24, 432 + 24));
    EXPECT_EQ(tile->tile.pixels.at<cv::Vec4b>(333, 333), cv::Vec4b(30, 160, 60, 255));
    EXPECT_EQ(tile->tile.pixels.at<cv::Vec4b>(333, 215), cv::Vec4b(255, 255, 255, 255)) << "border colour";

    // The height follows the image's aspect ratio.
    const auto wide = engine.makeTile(stickerItem(opaqueImage(400, 200), 2.0, 1), SheetSettings{});
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->tile.size(), cv::Size(666, 366));
}

TEST(MakeTile, NoBorderAndNoBleedFollowTheStickerItself)
{
    SheetSettings settings;
    settings.borderInches = 0;
    settings.bleedInches = 0;
    settings.borderColor = {1, 0, 0, 1};
    const SheetEngine engine;
    const auto tile = engine.makeTile(stickerItem(centredSquare(), 2.0, 1), settings);
    ASSERT_TRUE(tile);
    ASSERT_EQ(tile->tile.size(), cv::Size(600, 600));
    cv::Mat alpha;
    cv::extractChannel(tile->tile.pixels, alpha, 3);
    EXPECT_EQ(cv::countNonZero(alpha != tile->mask.pixels), 0);
    EXPECT_EQ(alphaSpan(tile->tile, 300), std::make_pair(200, 399));
    EXPECT_EQ(tile->tile.pixels.at<cv::Vec4b>(300, 199), cv::Vec4b(0, 0, 0, 0)) << "no border colour";
}

// A sticker opaque up to its image's edges (a photo, or a cutout cropped to
// its subject) still gets its cut line at the border width, with the bleed
// printed beyond it; the edge pixels are not smeared outward.
TEST(MakeTile, OpaqueEdgesKeepTheBleedBeyondTheCutLine)
{
    const SheetEngine engine;
    const auto tile = engine.makeTile(stickerItem(opaqueImage(600, 600), 2.0, 1), SheetSettings{});
    ASSERT_TRUE(tile);
    EXPECT_EQ(maskSpan(tile->mask, 333), std::make_pair(33 - 24, 632 + 24));
    EXPECT_EQ(alphaSpan(tile->tile, 333), std::make_pair(0, 665));
    EXPECT_EQ(tile->mask.pixels.at<uchar>(0, 0), 0);
    EXPECT_EQ(tile->mask.pixels.at<uchar>(333, 3), 0);
}

TEST(MakeTile, NothingBelowOnePixelOrWithoutAnImage)
{
    const SheetEngine engine;
    SheetSettings settings;
    settings.dpi = 1;
    settings.borderInches = 0;
    settings.bleedInches = 0;
    EXPECT_FALSE(engine.makeTile(stickerItem(opaqueImage(10, 10), 0.4, 1), settings));
    EXPECT_TRUE(engine.makeTile(stickerItem(opaqueImage(10, 10), 0.6, 1), settings));
    settings.dpi = 0;
    EXPECT_FALSE(engine.makeTile(stickerItem(opaqueImage(10, 10), 2, 1), settings));
    EXPECT_FALSE(engine.makeTile(stickerItem(Image(), 2, 1), SheetSettings{}));
    settings.dpi = 300;
    EXPECT_FALSE(engine.makeTile(stickerItem(opaqueImage(10, 10), 1e6, 1), settings)) << "beyond the page limit";
}

// The key names what changes a tile's pixels: the design's image among them,
// so that a design whose picture changed under the same id is made again.
TEST(TileKey, NamesTheImageAndWhatChangesPixelsOnly)
{
    const StickerItem item = stickerItem(opaqueImage(10, 10), 2.0, 1);
    const SheetSettings settings;
    const std::string key = SheetEngine::tileKey(item, settings);
    EXPECT_TRUE(key.starts_with(uuidString(item.id).toStdString() + "|2|0.08|0.03|300|1,1,1,1|")) << key;

    StickerItem sameImage = item;
    sameImage.name = QStringLiteral("Other");
    sameImage.count = 7;
    SheetSettings page = settings;
    page.paper = PaperSize::a4;
    page.region = PrintRegion::margins;
    page.spacingInches = 0.5;
    page.showCutLines = false;
    EXPECT_EQ(SheetEngine::tileKey(sameImage, page), key);

    StickerItem newImage = item;
    newImage.image = ImageBox(item.image.image());
    EXPECT_EQ(newImage, item) << "designs compare without their image";
    EXPECT_NE(SheetEngine::tileKey(newImage, settings), key);

    SheetSettings colour = settings;
    colour.borderColor.a = 0.5;
    EXPECT_NE(SheetEngine::tileKey(item, colour), key);
}
