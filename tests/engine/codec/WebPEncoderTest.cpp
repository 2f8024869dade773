#include "engine/codec/WebPEncoder.h"

#include "CodecFixtures.h"

#include <gtest/gtest.h>
#include <webp/encode.h>

#include <limits>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

WebPBitstreamFeatures featuresOf(const QByteArray& webp)
{
    WebPBitstreamFeatures features{};
    EXPECT_EQ(WebPGetFeatures(reinterpret_cast<const uint8_t*>(webp.constData()), size_t(webp.size()), &features),
              VP8_STATUS_OK);
    return features;
}

// What libwebp's one-call encoders make of the straight pixels the encoder hands on.
QByteArray oneCallEncoding(const Image& image, double quality)
{
    cv::Mat rgba(image.pixels.size(), CV_8UC4);
    image.pixels.forEach<cv::Vec4b>([&](const cv::Vec4b& p, const int* at) {
        rgba.at<cv::Vec4b>(at[0], at[1]) = {WebPEncoder::straightChannel(p[0], p[3]),
                                            WebPEncoder::straightChannel(p[1], p[3]),
                                            WebPEncoder::straightChannel(p[2], p[3]), p[3]};
    });
    uint8_t* output = nullptr;
    const size_t size = quality >= 99.5
        ? WebPEncodeLosslessRGBA(rgba.data, rgba.cols, rgba.rows, int(rgba.step), &output)
        : WebPEncodeRGBA(rgba.data, rgba.cols, rgba.rows, int(rgba.step), float(quality), &output);
    QByteArray bytes(reinterpret_cast<const char*>(output), qsizetype(size));
    WebPFree(output);
    return bytes;
}

constexpr int kLossless = 2;
constexpr int kLossy = 1;

} // namespace

TEST(WebPEncoder, EncodesLosslesslyFromNinetyNinePointFive)
{
    const Image picture = sampleCutout(31, 17);
    EXPECT_EQ(featuresOf(WebPEncoder::encode(picture, 99.5)).format, kLossless);
    EXPECT_EQ(featuresOf(WebPEncoder::encode(picture, 100)).format, kLossless);
    EXPECT_EQ(featuresOf(WebPEncoder::encode(picture, 99.4)).format, kLossy);
    EXPECT_EQ(featuresOf(WebPEncoder::encode(picture, 0)).format, kLossy);

    const WebPBitstreamFeatures features = featuresOf(WebPEncoder::encode(picture, 90));
    EXPECT_EQ(features.width, 31);
    EXPECT_EQ(features.height, 17);
    EXPECT_TRUE(features.has_alpha);
}

TEST(WebPEncoder, WritesWhatTheOneCallEncoderWrites)
{
    // Large enough for the threads to split the work (analysis, alpha plane).
    const Image picture = sampleCutout(640, 480);
    for (const double quality : {0.0, 50.0, 92.0, 99.4, 99.5, 100.0}) {
        SCOPED_TRACE(quality);
        EXPECT_EQ(WebPEncoder::encode(picture, quality), oneCallEncoding(picture, quality));
    }
    // Out-of-range and NaN qualities are clamped as before.
    EXPECT_EQ(WebPEncoder::encode(picture, -5), oneCallEncoding(picture, 0));
    EXPECT_EQ(WebPEncoder::encode(picture, std::numeric_limits<double>::quiet_NaN()), oneCallEncoding(picture, 0));
}

TEST(WebPEncoder, HandsTheEncoderStraightColourTruncated)
{
    EXPECT_EQ(WebPEncoder::straightChannel(200, 100), 255); // colour beyond its alpha: capped

    // Through the lossless encoder, which keeps what it was given.
    cv::Mat pixels(1, 3, CV_8UC4);
    pixels.at<cv::Vec4b>(0, 0) = {64, 32, 0, 128};
    pixels.at<cv::Vec4b>(0, 1) = {0, 0, 0, 0};
    pixels.at<cv::Vec4b>(0, 2) = {10, 20, 30, 255};
    const QByteArray webp = WebPEncoder::encode(Image(pixels), 100);
    int width = 0, height = 0;
    uint8_t* rgba = WebPDecodeRGBA(reinterpret_cast<const uint8_t*>(webp.constData()), size_t(webp.size()), &width,
                                   &height);
    ASSERT_NE(rgba, nullptr);
    ASSERT_EQ(width, 3);
    EXPECT_EQ(cv::Vec4b(rgba[0], rgba[1], rgba[2], rgba[3]), cv::Vec4b(127, 63, 0, 128));
    EXPECT_EQ(rgba[7], 0);
    EXPECT_EQ(cv::Vec4b(rgba[8], rgba[9], rgba[10], rgba[11]), cv::Vec4b(10, 20, 30, 255));
    WebPFree(rgba);
}

TEST(WebPEncoder, ReportsWhatItCannotEncode)
{
    try {
        WebPEncoder::encode(Image(), 90);
        FAIL() << "an empty image encoded";
    } catch (const WebPEncoder::EncodeError& error) {
        EXPECT_STREQ(error.what(), "Couldn't read the image pixels for WebP.");
    }
    // WebP's sides end at 16383 pixels.
    try {
        WebPEncoder::encode(Image::transparent({16384, 1}), 90);
        FAIL() << "an image beyond WebP's limits encoded";
    } catch (const WebPEncoder::EncodeError& error) {
        EXPECT_STREQ(error.what(), "WebP encoding failed.");
    }
}
