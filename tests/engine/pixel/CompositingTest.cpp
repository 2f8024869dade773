#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/LightenDarkenBlend.h"
#include "engine/pixel/MultiplyCompositing.h"
#include "engine/pixel/SourceOver.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

Image filled(cv::Size size, cv::Vec4b pixel, cv::Point origin = {0, 0})
{
    return Image(cv::Mat(size, CV_8UC4, cv::Scalar(pixel[0], pixel[1], pixel[2], pixel[3])), origin);
}

cv::Vec4b at(const Image& image, cv::Point plane) { return image.pixels.at<cv::Vec4b>(plane - image.origin); }

} // namespace

TEST(BlendWithMask, HalfGreyMaskMixesForegroundAndBackgroundEvenly)
{
    const Image front = filled({4, 4}, {200, 100, 0, 255});
    const Image back = filled({4, 4}, {0, 0, 100, 255});
    const Image mixed = blendWithMask(front, back, Matte::filled({4, 4}, 128));
    // 200 × 128/255 = 100.4, 100 × 128/255 = 50.2, 100 × 127/255 = 49.8.
    EXPECT_EQ(at(mixed, {2, 2}), cv::Vec4b(100, 50, 50, 255));
    EXPECT_EQ(at(blendWithMask(front, back, Matte::filled({4, 4}, 255)), {0, 0}), cv::Vec4b(200, 100, 0, 255));
    EXPECT_EQ(at(blendWithMask(front, back, Matte::filled({4, 4}, 0)), {0, 0}), cv::Vec4b(0, 0, 100, 255));
}

TEST(BlendWithMask, CoversBothExtentsAndShowsTheBackgroundBeyondTheMask)
{
    const Image front = filled({4, 4}, {200, 100, 0, 255}, {2, 0});
    const Image back = filled({4, 4}, {0, 0, 100, 255}, {0, 0});
    const Matte mask = Matte::filled({2, 4}, 255, {2, 0});
    const Image mixed = blendWithMask(front, back, mask);
    EXPECT_EQ(mixed.extent(), cv::Rect(0, 0, 6, 4));
    EXPECT_EQ(at(mixed, {2, 1}), cv::Vec4b(200, 100, 0, 255)); // mask white
    EXPECT_EQ(at(mixed, {4, 1}), cv::Vec4b(0, 0, 0, 0));       // mask black, no background there
    EXPECT_EQ(at(mixed, {0, 1}), cv::Vec4b(0, 0, 100, 255));   // background only
    // Over a clear background a mask cuts the foreground out.
    const Image cut = blendWithMask(front, Image::transparent({4, 4}, {2, 0}), Matte::filled({4, 4}, 64, {2, 0}));
    EXPECT_EQ(at(cut, {3, 3}), cv::Vec4b(50, 25, 0, 64));
}

TEST(SourceOver, HalfTransparentForegroundLetsTheRestThrough)
{
    const Image back = filled({3, 3}, {0, 0, 255, 255});
    EXPECT_EQ(at(sourceOver(filled({3, 3}, {64, 0, 0, 128}), back), {1, 1}), cv::Vec4b(64, 0, 127, 255));
    EXPECT_EQ(at(sourceOver(filled({3, 3}, {10, 20, 30, 255}), back), {1, 1}), cv::Vec4b(10, 20, 30, 255));
    const Image apart = sourceOver(filled({1, 1}, {9, 9, 9, 9}, {5, 5}), back);
    EXPECT_EQ(apart.extent(), cv::Rect(0, 0, 6, 6));
    EXPECT_EQ(at(apart, {5, 5}), cv::Vec4b(9, 9, 9, 9));
    EXPECT_EQ(at(apart, {4, 4}), cv::Vec4b(0, 0, 0, 0));
}

TEST(MultiplyCompositing, OpaqueImagesMultiplyAndTransparencyShowsTheOther)
{
    const Image grey = filled({2, 2}, {128, 128, 128, 255});
    const Image colour = filled({2, 2}, {200, 100, 50, 255});
    EXPECT_EQ(at(multiplyCompositing(grey, colour), {0, 0}), cv::Vec4b(100, 50, 25, 255));
    const Image clear = Image::transparent({2, 2});
    EXPECT_EQ(at(multiplyCompositing(clear, colour), {1, 1}), cv::Vec4b(200, 100, 50, 255));
    EXPECT_EQ(at(multiplyCompositing(colour, filled({1, 1}, {0, 0, 0, 255}, {1, 1})), {0, 0}),
              cv::Vec4b(200, 100, 50, 255));

    const Matte product = multiplyCompositing(Matte::filled({4, 4}, 128), Matte::filled({4, 4}, 51, {2, 1}));
    EXPECT_EQ(product.extent(), cv::Rect(2, 1, 2, 3));
    EXPECT_EQ(product.pixels.at<uchar>(0, 0), 26); // 128 × 51 / 255 = 25.6
    EXPECT_TRUE(multiplyCompositing(Matte::filled({1, 1}, 9), Matte::filled({1, 1}, 9, {3, 3})).empty());
}

TEST(LightenDarkenBlend, TakesTheMaximumOverTheUnionAndTheMinimumOverTheIntersection)
{
    Matte a = Matte::filled({2, 1}, 100);
    a.pixels.at<uchar>(0, 1) = 20;
    const Matte b = Matte::filled({2, 1}, 50, {1, 0});
    const Matte lighter = lightenBlend(a, b);
    EXPECT_EQ(lighter.extent(), cv::Rect(0, 0, 3, 1));
    EXPECT_EQ(lighter.pixels.at<uchar>(0, 0), 100);
    EXPECT_EQ(lighter.pixels.at<uchar>(0, 1), 50);
    EXPECT_EQ(lighter.pixels.at<uchar>(0, 2), 50);
    const Matte darker = darkenBlend(a, b);
    EXPECT_EQ(darker.extent(), cv::Rect(1, 0, 1, 1));
    EXPECT_EQ(darker.pixels.at<uchar>(0, 0), 20);
}
