#include "engine/pixel/ClampToExtent.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/Mirror.h"
#include "engine/pixel/RenderContext.h"
#include "engine/pixel/Translate.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

// 4 × 3 matte at (10, 20) whose value is 10 × column + row + 1.
Matte numbered()
{
    Matte matte = Matte::filled({4, 3}, 0, {10, 20});
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            matte.pixels.at<uchar>(y, x) = uchar(10 * x + y + 1);
    return matte;
}

} // namespace

TEST(Crop, KeepsTheIntersectionAtItsOwnOrigin)
{
    const Matte matte = numbered();
    const Matte part = cropped(matte, cv::Rect(12, 15, 100, 7));
    EXPECT_EQ(part.extent(), cv::Rect(12, 20, 2, 2));
    EXPECT_EQ(part.pixels.at<uchar>(0, 0), 21);
    EXPECT_EQ(part.pixels.data, matte.pixels.ptr(0) + 2); // a view, nothing copied

    const Matte missed = cropped(matte, cv::Rect(0, 0, 5, 5));
    EXPECT_TRUE(missed.empty());
    EXPECT_EQ(missed.origin, cv::Point(0, 0));
    EXPECT_EQ(cropped(Image::transparent({5, 5}), cv::Rect(1, 1, 2, 2)).pixels.type(), CV_8UC4);
}

TEST(Translate, MovesTheOriginAndSharesThePixels)
{
    const Matte matte = numbered();
    const Matte moved = translated(matte, {-3, 14});
    EXPECT_EQ(moved.extent(), cv::Rect(7, 34, 4, 3));
    EXPECT_EQ(moved.pixels.data, matte.pixels.data);
}

TEST(Mirror, FlipsColumnsWithinTheExtent)
{
    const Matte flipped = mirrored(numbered());
    EXPECT_EQ(flipped.extent(), numbered().extent());
    EXPECT_EQ(flipped.pixels.at<uchar>(0, 0), 31);
    EXPECT_EQ(flipped.pixels.at<uchar>(2, 3), 3);
    Image image = Image::transparent({3, 1}, {5, 5});
    image.pixels.at<cv::Vec4b>(0, 0) = {1, 2, 3, 4};
    EXPECT_EQ(mirrored(image).pixels.at<cv::Vec4b>(0, 2), cv::Vec4b(1, 2, 3, 4));
}

TEST(ClampToExtent, RepeatsTheEdgePixelsOutward)
{
    const Matte clamped = clampedToExtent(numbered(), cv::Rect(8, 19, 8, 5));
    ASSERT_EQ(clamped.extent(), cv::Rect(8, 19, 8, 5));
    EXPECT_EQ(clamped.pixels.at<uchar>(0, 0), 1);  // up-left quadrant: the top-left corner
    EXPECT_EQ(clamped.pixels.at<uchar>(4, 7), 33); // down-right quadrant: the bottom-right corner
    EXPECT_EQ(clamped.pixels.at<uchar>(0, 3), 11); // above column 1: its top pixel
    EXPECT_EQ(clamped.pixels.at<uchar>(2, 0), 2);  // left of row 1: its left pixel
    EXPECT_EQ(clamped.pixels.at<uchar>(2, 3), 12); // inside: unchanged
    // A view of a larger image repeats its own edge, not its neighbours.
    const Matte inner = cropped(numbered(), cv::Rect(11, 21, 2, 1));
    EXPECT_EQ(clampedToExtent(inner, cv::Rect(10, 21, 1, 1)).pixels.at<uchar>(0, 0), 12);
}

TEST(Render, AreaOutsideTheExtentIsTransparentAndTheBufferIsNew)
{
    Image image = Image::transparent({2, 2}, {-1, -1});
    image.pixels.setTo(cv::Scalar(1, 2, 3, 4));
    cv::Mat rendered = renderRGBA8(image, cv::Rect(-2, 0, 3, 2));
    ASSERT_EQ(rendered.size(), cv::Size(3, 2));
    EXPECT_EQ(rendered.at<cv::Vec4b>(0, 0), cv::Vec4b(0, 0, 0, 0));
    EXPECT_EQ(rendered.at<cv::Vec4b>(0, 1), cv::Vec4b(1, 2, 3, 4));
    EXPECT_EQ(rendered.at<cv::Vec4b>(0, 2), cv::Vec4b(1, 2, 3, 4));
    EXPECT_EQ(rendered.at<cv::Vec4b>(1, 1), cv::Vec4b(0, 0, 0, 0));
    EXPECT_TRUE(rendered.isContinuous());
    // Rendering exactly the extent still copies: the caller may write.
    cv::Mat whole = renderRGBA8(image, image.extent());
    whole.setTo(cv::Scalar::all(9));
    EXPECT_EQ(image.pixels.at<cv::Vec4b>(0, 0), cv::Vec4b(1, 2, 3, 4));

    const cv::Mat grey = renderGrey8(numbered(), cv::Rect(13, 22, 2, 2));
    EXPECT_EQ(grey.at<uchar>(0, 0), 33);
    EXPECT_EQ(grey.at<uchar>(0, 1), 0);
    EXPECT_EQ(grey.at<uchar>(1, 0), 0);
    EXPECT_EQ(renderGrey8(Matte(), cv::Rect(0, 0, 3, 3)).size(), cv::Size(3, 3));
    RenderContext context({"Zephrin", false});
    EXPECT_EQ(context.render(image, cv::Rect(-1, -1, 1, 1)).at<cv::Vec4b>(0, 0), cv::Vec4b(1, 2, 3, 4));
}
