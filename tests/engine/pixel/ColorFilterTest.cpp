#include "engine/pixel/ColorClamp.h"
#include "engine/pixel/ColorControls.h"
#include "engine/pixel/ColorInvert.h"
#include "engine/pixel/ColorMatrix.h"
#include "engine/pixel/ColorThreshold.h"
#include "engine/pixel/ExposureAdjust.h"
#include "engine/pixel/Premultiply.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

Image pixel(cv::Vec4b value) { return Image(cv::Mat(1, 1, CV_8UC4, cv::Scalar(value[0], value[1], value[2], value[3]))); }

cv::Vec4b only(const Image& image) { return image.pixels.at<cv::Vec4b>(0, 0); }

} // namespace

TEST(Premultiply, FaintPixelsRoundHalfUpAndSurviveTheRoundTrip)
{
    const cv::Mat straight = unpremultiplied(pixel({64, 32, 0, 128}));
    EXPECT_EQ(straight.at<cv::Vec4b>(0, 0), cv::Vec4b(128, 64, 0, 128)); // 127.5 rounds up
    EXPECT_EQ(only(premultiplied(straight)), cv::Vec4b(64, 32, 0, 128));
    EXPECT_EQ(unpremultiplyChannel(0, 0), 0);
    EXPECT_EQ(unpremultiplyChannel(1, 1), 255);
    EXPECT_EQ(unpremultiplyChannel(1, 2), 128);
    EXPECT_EQ(unpremultiplyChannel(200, 100), 255); // not premultiplied: clipped
    // Every valid premultiplied value survives un-premultiply and premultiply.
    for (int alpha = 0; alpha < 256; ++alpha)
        for (int channel = 0; channel <= alpha; ++channel)
            ASSERT_EQ(premultiplyChannel(unpremultiplyChannel(uchar(channel), uchar(alpha)), uchar(alpha)), channel)
                << channel << " at alpha " << alpha;
}

TEST(ColorInvert, InvertsStraightColourAndKeepsAlpha)
{
    EXPECT_EQ(only(colorInvert(pixel({64, 32, 0, 128}))), cv::Vec4b(64, 96, 128, 128));
    EXPECT_EQ(only(colorInvert(pixel({0, 0, 0, 0}))), cv::Vec4b(0, 0, 0, 0));
    const Matte inverted = colorInvert(Matte::filled({2, 2}, 55, {3, 4}));
    EXPECT_EQ(inverted.pixels.at<uchar>(1, 1), 200);
    EXPECT_EQ(inverted.origin, cv::Point(3, 4));
}

TEST(ExposureAdjust, OneStopDoublesTheLinearLight)
{
    // sRGB 128 is linear 0.2159; twice that is sRGB 0.6885, byte 175.56.
    EXPECT_EQ(only(exposureAdjust(pixel({128, 128, 128, 255}), 1.0)), cv::Vec4b(176, 176, 176, 255));
    EXPECT_EQ(only(exposureAdjust(pixel({175, 175, 175, 255}), -1.0)), cv::Vec4b(128, 128, 128, 255));
    // Half-transparent: the straight colour changes the same way, alpha stays.
    EXPECT_EQ(only(exposureAdjust(pixel({64, 64, 64, 128}), 1.0)), cv::Vec4b(88, 88, 88, 128));
    EXPECT_EQ(only(exposureAdjust(pixel({250, 10, 0, 255}), 3.0))[0], 255); // clipped, not wrapped
    const Image photo = zephrin::testing::photoLikeImage({30, 20}, 1, true);
    EXPECT_EQ(exposureAdjust(photo, 0).pixels.data, photo.pixels.data);
}

TEST(ColorControls, DefaultsChangeNothingAndSaturationZeroGivesGrey)
{
    const Image photo = zephrin::testing::photoLikeImage({40, 30}, 6, true);
    EXPECT_EQ(zephrin::testing::maxDifference(colorControls(photo, {}).pixels, photo.pixels), 0);

    const cv::Vec4b grey = only(colorControls(pixel({200, 100, 50, 255}), {.saturation = 0}));
    EXPECT_EQ(grey[0], grey[1]);
    EXPECT_EQ(grey[1], grey[2]);
    EXPECT_EQ(grey[0], 118); // (0.2126 × 200 + 0.7152 × 100 + 0.0722 × 50) = 117.66
    // Contrast spreads values away from one half; brightness lifts them.
    Matte ramp(cv::Mat(1, 3, CV_8UC1, cv::Scalar(0)));
    ramp.pixels.at<uchar>(0, 0) = 64;
    ramp.pixels.at<uchar>(0, 1) = 128;
    ramp.pixels.at<uchar>(0, 2) = 192;
    const Matte contrasted = colorControls(ramp, {.contrast = 2.2});
    EXPECT_EQ(contrasted.pixels.at<uchar>(0, 0), 0);   // (0.251 − 0.5) × 2.2 + 0.5 < 0
    EXPECT_EQ(contrasted.pixels.at<uchar>(0, 1), 129); // 0.502 stays near the middle
    EXPECT_EQ(contrasted.pixels.at<uchar>(0, 2), 255);
    EXPECT_EQ(colorControls(ramp, {.brightness = 0.2}).pixels.at<uchar>(0, 0), 115); // 64 + 51
}

TEST(ColorMatrix, AlphaBecomesOpaqueGrey)
{
    const ColorMatrix alphaToGrey{.r = {0, 0, 0, 1}, .g = {0, 0, 0, 1}, .b = {0, 0, 0, 1}, .a = {0, 0, 0, 0},
                                  .bias = {0, 0, 0, 1}};
    EXPECT_EQ(only(colorMatrix(pixel({64, 32, 0, 128}), alphaToGrey)), cv::Vec4b(128, 128, 128, 255));
    EXPECT_EQ(only(colorMatrix(pixel({0, 0, 0, 0}), alphaToGrey)), cv::Vec4b(0, 0, 0, 255));
    const Image photo = zephrin::testing::photoLikeImage({40, 30}, 7, true);
    EXPECT_EQ(zephrin::testing::maxDifference(colorMatrix(photo, {}).pixels, photo.pixels), 0);
    // Warm shift on a straight colour, then premultiplied by alpha 0.5.
    const ColorMatrix warm{.r = {1.45, 0, 0, 0}, .g = {0, 1.1, 0, 0}, .b = {0, 0, 0.55, 0}};
    EXPECT_EQ(only(colorMatrix(pixel({40, 40, 40, 128}), warm)), cv::Vec4b(58, 44, 22, 128));
    // A matte is the opaque grey (v, v, v, 1): R = (k, 0, 0, 0) scales it by k.
    const Matte scaled = colorMatrix(Matte::filled({1, 1}, 200), {.r = {0.3, 0, 0, 0}});
    EXPECT_EQ(scaled.pixels.at<uchar>(0, 0), 60);
}

TEST(ColorClamp, LimitsEachStraightComponent)
{
    EXPECT_EQ(only(colorClamp(pixel({255, 255, 255, 255}), {0, 0, 0, 0}, {0.5, 1, 1, 1})), cv::Vec4b(128, 255, 255, 255));
    // Straight (0.5, 0, 0, 0.78) becomes (0.5, 0.3, 0, 0.5), premultiplied by 127.5.
    EXPECT_EQ(only(colorClamp(pixel({100, 0, 0, 200}), {0, 0.3, 0, 0}, {1, 1, 1, 0.5})), cv::Vec4b(64, 38, 0, 128));
    EXPECT_EQ(colorClamp(Matte::filled({1, 1}, 250), 0.1, 0.8).pixels.at<uchar>(0, 0), 204);
}

TEST(ColorThreshold, SplitsAtTheThreshold)
{
    Matte matte = Matte::filled({2, 1}, 127);
    matte.pixels.at<uchar>(0, 1) = 128;
    const Matte binary = colorThreshold(matte, 0.5);
    EXPECT_EQ(binary.pixels.at<uchar>(0, 0), 0);
    EXPECT_EQ(binary.pixels.at<uchar>(0, 1), 255);
}
