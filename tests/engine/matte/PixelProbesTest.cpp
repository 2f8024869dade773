#include "engine/matte/MatteEngine.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zephrin;

TEST(PixelColor, TruncatesTowardZeroAndStaysInside)
{
    cv::Mat pixels(5, 4, CV_8UC4, cv::Scalar(0, 0, 255, 255));
    pixels.at<cv::Vec4b>(3, 0) = {255, 0, 0, 255};
    const Image image(pixels);

    const auto truncated = MatteEngine::pixelColor(image, -0.5, 3.9);
    ASSERT_TRUE(truncated);
    EXPECT_EQ(*truncated, (RGBAColor{1, 0, 0, 1}));
    EXPECT_FALSE(MatteEngine::pixelColor(image, -1, 3));
    EXPECT_FALSE(MatteEngine::pixelColor(image, 4, 0));
    EXPECT_FALSE(MatteEngine::pixelColor(image, 0, 5));
    EXPECT_FALSE(MatteEngine::pixelColor(image, 1e300, 0));
    EXPECT_FALSE(MatteEngine::pixelColor(image, std::numeric_limits<double>::quiet_NaN(), 0));
}

TEST(PixelColor, UnpremultipliesAndRefusesTransparentPixels)
{
    cv::Mat pixels(2, 2, CV_8UC4, cv::Scalar(0, 0, 0, 0));
    pixels.at<cv::Vec4b>(0, 1) = {128, 64, 0, 128};
    const Image image(pixels);

    const auto half = MatteEngine::pixelColor(image, 1, 0);
    ASSERT_TRUE(half);
    EXPECT_NEAR(half->r, 1.0, 1e-12);
    EXPECT_NEAR(half->g, 0.5, 1e-12);
    EXPECT_EQ(half->b, 0);
    EXPECT_EQ(half->a, 1);
    EXPECT_FALSE(MatteEngine::pixelColor(image, 0, 0));
    EXPECT_FALSE(MatteEngine::pixelColor(Image::transparent({7, 5}), 3, 2));
}

TEST(WhiteFraction, CountsNearWhiteAmongOpaquePixels)
{
    cv::Mat canvas(800, 1200, CV_8UC4, cv::Scalar(0, 0, 0, 0));
    canvas(cv::Rect(300, 200, 600, 400)).setTo(cv::Scalar(255, 255, 255, 255));
    EXPECT_DOUBLE_EQ(MatteEngine::whiteFraction(Image(canvas)), 1.0);

    canvas(cv::Rect(300, 200, 600, 400)).setTo(cv::Scalar(200, 200, 200, 255));
    EXPECT_EQ(MatteEngine::whiteFraction(Image(canvas)), 0.0);

    // Left half white, right half light grey 235 (just below the threshold).
    cv::Mat halves(10, 20, CV_8UC4, cv::Scalar(235, 236, 236, 255));
    halves.colRange(0, 10).setTo(cv::Scalar(236, 236, 236, 255));
    EXPECT_DOUBLE_EQ(MatteEngine::whiteFraction(Image(halves)), 0.5);

    // Alpha 200 is not opaque.
    EXPECT_EQ(MatteEngine::whiteFraction(Image(cv::Mat(10, 10, CV_8UC4, cv::Scalar(200, 200, 200, 200)))), 0.0);
    EXPECT_EQ(MatteEngine::whiteFraction(Image::transparent({50, 50})), 0.0);
    EXPECT_EQ(MatteEngine::whiteFraction(Image()), 0.0);
}

TEST(WhiteFraction, CountsOnlyThePixelsUnderTheMask)
{
    // A red subject on a white backdrop: the backdrop's white is no part of it.
    cv::Mat picture(400, 600, CV_8UC4, cv::Scalar(255, 255, 255, 255));
    picture(cv::Rect(200, 100, 200, 200)).setTo(cv::Scalar(255, 0, 0, 255));
    picture(cv::Rect(200, 100, 50, 200)).setTo(cv::Scalar(255, 255, 255, 255));  // a white quarter of the subject
    cv::Mat subject(200, 200, CV_8UC1, cv::Scalar(255));
    // The picture lies at (1000, 500), the mask where the subject is: both origins count.
    const Image placed(picture, {1000, 500});
    EXPECT_NEAR(MatteEngine::whiteFraction(placed, Matte(subject, {1200, 600})), 0.25, 0.02);
    EXPECT_NEAR(MatteEngine::whiteFraction(placed), 1 - 0.75 * 40000 / 240000.0, 0.02);
    // A mask beside the picture leaves nothing to count.
    EXPECT_EQ(MatteEngine::whiteFraction(placed, Matte(subject, {0, 0})), 0.0);
}

TEST(IsOpaque, OneTranslucentPixelAnywhereIsEnough)
{
    cv::Mat canvas(40, 60, CV_8UC4, cv::Scalar(10, 20, 30, 255));
    EXPECT_TRUE(MatteEngine::isOpaque(Image(canvas)));
    canvas.at<cv::Vec4b>(39, 59)[3] = 254;  // the last pixel
    EXPECT_FALSE(MatteEngine::isOpaque(Image(canvas)));
    EXPECT_FALSE(MatteEngine::isOpaque(Image::transparent({5, 5})));
    EXPECT_FALSE(MatteEngine::isOpaque(Image()));
}
