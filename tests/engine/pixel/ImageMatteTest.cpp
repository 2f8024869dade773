#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/SolidImage.h"

#include <gtest/gtest.h>

using namespace zephrin;

TEST(ImageMatte, AlphaBecomesAMatteAndAMatteAGreyImage)
{
    Image image = Image::transparent({3, 2}, {-4, 6});
    image.pixels.at<cv::Vec4b>(1, 2) = {64, 32, 0, 128};
    const Matte alpha = alphaMatte(image);
    EXPECT_EQ(alpha.extent(), image.extent());
    EXPECT_EQ(alpha.pixels.at<uchar>(1, 2), 128);
    EXPECT_EQ(alpha.pixels.at<uchar>(0, 0), 0);

    const Image grey = greyImage(alpha);
    EXPECT_EQ(grey.extent(), image.extent());
    EXPECT_EQ(grey.pixels.at<cv::Vec4b>(1, 2), cv::Vec4b(128, 128, 128, 255));
    EXPECT_EQ(grey.pixels.at<cv::Vec4b>(0, 0), cv::Vec4b(0, 0, 0, 255));
}

TEST(ImageMatte, MaskedByScalesAlphaAndKeepsTheStraightColour)
{
    const Image opaque(cv::Mat(2, 4, CV_8UC4, cv::Scalar(200, 100, 50, 255)), {10, 10});
    const Matte half = Matte::filled({2, 2}, 128, {12, 10}); // covers the right half only
    const Image masked = maskedBy(opaque, half);
    EXPECT_EQ(masked.extent(), opaque.extent());
    EXPECT_EQ(masked.pixels.at<cv::Vec4b>(0, 3), cv::Vec4b(100, 50, 25, 128));
    EXPECT_EQ(masked.pixels.at<cv::Vec4b>(1, 0), cv::Vec4b(0, 0, 0, 0)); // beyond the matte: black mask
}

TEST(SolidImage, PremultipliesTheColourOverTheExtent)
{
    const Image tint = solidImage({0.5450980392156862, 0.3607843137254902, 0.9647058823529412, 0.4}, {-3, 2, 5, 4});
    EXPECT_EQ(tint.extent(), cv::Rect(-3, 2, 5, 4));
    EXPECT_EQ(tint.pixels.at<cv::Vec4b>(3, 4), cv::Vec4b(56, 37, 98, 102)); // (139, 92, 246) × 102 / 255
    EXPECT_EQ(solidImage({2, -1, 0.5, 1}, {0, 0, 1, 1}).pixels.at<cv::Vec4b>(0, 0), cv::Vec4b(255, 0, 128, 255));
    EXPECT_TRUE(solidImage({1, 1, 1, 1}, {0, 0, 0, 3}).empty());
}
