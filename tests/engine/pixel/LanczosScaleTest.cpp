#include "engine/pixel/LanczosScale.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zephrin;

TEST(LanczosScale, SizesFollowScaleAndAspectRatio)
{
    // The square network mask stretched back to the photo's proportions.
    const Matte square = Matte::filled({1024, 1024}, 200);
    for (const cv::Size photo : {cv::Size(4000, 3000), cv::Size(3000, 4000), cv::Size(333, 777), cv::Size(1, 5)}) {
        const double scale = photo.height / 1024.0;
        const double aspect = (photo.width / 1024.0) / (photo.height / 1024.0);
        EXPECT_EQ(lanczosScale(square, scale, aspect).extent(), cv::Rect({}, photo));
    }
    // The origin scales with the plane; both ends are rounded.
    const Image image = Image::transparent({100, 50}, {10, 21});
    EXPECT_EQ(lanczosScale(image, 0.5).extent(), cv::Rect(5, 11, 50, 25));
    EXPECT_EQ(lanczosScale(image, 2.0, 1.5).extent(), cv::Rect(30, 42, 300, 100));
    // Plain resizes hit the size exactly and keep the origin.
    EXPECT_EQ(resized(image, {33, 7}).extent(), cv::Rect(10, 21, 33, 7));
    // Factors that are not positive and finite give nothing.
    EXPECT_TRUE(lanczosScale(image, 0).empty());
    EXPECT_TRUE(lanczosScale(image, 1, -2).empty());
    EXPECT_TRUE(lanczosScale(image, std::nan("")).empty());
    EXPECT_THROW(lanczosScale(image, 1e7), std::length_error);
}

TEST(LanczosScale, ConstantStaysConstantWithoutARimAtTheBorder)
{
    const Image colour(cv::Mat(61, 97, CV_8UC4, cv::Scalar(40, 180, 90, 255)));
    for (double scale : {0.13, 0.37, 1.0, 2.3}) {
        const Image scaled = lanczosScale(colour, scale, 1.2);
        cv::Mat differs;
        cv::absdiff(scaled.pixels, cv::Scalar(40, 180, 90, 255), differs);
        EXPECT_EQ(cv::countNonZero(differs.reshape(1)), 0) << "scale " << scale;
    }
}

TEST(LanczosScale, DownscaleAveragesDetailFinerThanTheNewPixels)
{
    // A one-pixel checkerboard has nothing a quarter-size grid can show: it must
    // come out flat grey, not as a coarse pattern.
    Matte checker = Matte::filled({256, 192}, 0);
    for (int y = 0; y < checker.height(); ++y)
        for (int x = (y % 2); x < checker.width(); x += 2)
            checker.pixels.at<uchar>(y, x) = 255;
    const Matte reduced = lanczosScale(checker, 0.25);
    ASSERT_EQ(reduced.size(), cv::Size(64, 48));
    double lowest = 0, highest = 0;
    cv::minMaxLoc(reduced.pixels, &lowest, &highest);
    EXPECT_GE(lowest, 124);
    EXPECT_LE(highest, 131);
}

TEST(LanczosScale, OvershootIsClampedAndStaysPremultiplied)
{
    // Hard red edges on transparency ring with a Lanczos kernel.
    Image bars = Image::transparent({40, 30});
    for (int x = 0; x < 40; x += 8)
        bars.pixels.colRange(x, x + 3).setTo(cv::Scalar(255, 0, 0, 255));
    for (double scale : {3.0, 0.7, 0.31}) {
        EXPECT_TRUE(zephrin::testing::isPremultiplied(lanczosScale(bars, scale))) << scale;
        EXPECT_TRUE(zephrin::testing::isPremultiplied(lanczosScale(bars, scale, 0.5))) << scale;
    }
    const Image photo = zephrin::testing::photoLikeImage({123, 77}, 9, true);
    EXPECT_TRUE(zephrin::testing::isPremultiplied(resized(photo, {400, 51})));
}

TEST(LanczosScale, UnitScaleKeepsThePixels)
{
    // The kernel itself, a hair off scale 1 (same size), and the shortcut at
    // exactly 1, which shares the pixels instead of copying them.
    const Image photo = zephrin::testing::photoLikeImage({50, 40}, 2, true);
    const Image kernel = lanczosScale(photo, 1.0 + 1e-12);
    ASSERT_EQ(kernel.pixels.size(), photo.pixels.size());
    EXPECT_NE(kernel.pixels.data, photo.pixels.data);
    EXPECT_EQ(zephrin::testing::maxDifference(kernel.pixels, photo.pixels), 0);
    for (const Image& same : {lanczosScale(photo, 1.0), resized(photo, {50, 40})}) {
        EXPECT_EQ(same.pixels.data, photo.pixels.data);
        EXPECT_EQ(same.origin, photo.origin);
    }
}
