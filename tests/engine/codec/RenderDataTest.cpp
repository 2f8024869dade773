#include "engine/matte/MatteEngine.h"

#include "engine/codec/ExportedSize.h"

#include "CodecFixtures.h"
#include "support/PixelSamples.h"
#include "engine/types/MatteError.h"

#include <QColorSpace>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

QSize encodedSize(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

cv::Vec4b pixelAt(const Image& image, int x, int y) { return image.pixels.at<cv::Vec4b>(y, x); }

// The first quantisation value of the first table of a JPEG file (the luminance
// DC step), or -1.
int firstQuantisationStep(const QByteArray& jpeg)
{
    const qsizetype dqt = jpeg.indexOf("\xFF\xDB");
    if (dqt < 0 || dqt + 5 >= jpeg.size())
        return -1;
    return uchar(jpeg[dqt + 5]);
}

} // namespace

TEST(RenderData, ScalesDownToTheLongEdgeButNeverUp)
{
    const MatteEngine engine;
    const Image picture(cv::Mat(3000, 4000, CV_8UC4, cv::Scalar(30, 60, 90, 255)));
    EXPECT_EQ(encodedSize(engine.renderData(picture, ExportFormat::jpg, 2400, true, 90)), QSize(2400, 1800));
    EXPECT_EQ(encodedSize(engine.renderData(picture, ExportFormat::jpg, 0, true, 90)), QSize(4000, 3000));
    EXPECT_EQ(encodedSize(engine.renderData(picture, ExportFormat::jpg, 5000, true, 90)), QSize(4000, 3000));

    const Image portrait(cv::Mat(301, 99, CV_8UC4, cv::Scalar(30, 60, 90, 255)));
    EXPECT_EQ(encodedSize(engine.renderData(portrait, ExportFormat::png, 100, true, 90)), QSize(33, 100));
}

// What the editor says an export will write is what it writes, to the pixel.
TEST(RenderData, WritesTheSizeItSaysItWill)
{
    const MatteEngine engine;
    const struct {
        QSize picture;
        int longEdge;
    } cases[] = {{{4000, 3000}, 2400}, {{1215, 1215}, 2000}, {{99, 301}, 100}, {{2999, 1001}, 1500},
                 {{1001, 2999}, 800}, {{640, 480}, 0}, {{7, 3}, 5}};
    for (const auto& c : cases) {
        const Image picture(cv::Mat(c.picture.height(), c.picture.width(), CV_8UC4, cv::Scalar(30, 60, 90, 255)));
        EXPECT_EQ(encodedSize(engine.renderData(picture, ExportFormat::png, c.longEdge, true, 90)),
                  exportedSize(c.picture, c.longEdge))
            << c.picture.width() << " × " << c.picture.height() << " at " << c.longEdge;
    }
}

TEST(RenderData, FlattensOnWhiteWhenAlphaIsNotKept)
{
    const MatteEngine engine;
    const Image cutout = sampleCutout(64, 48);

    // JPEG has no alpha: white behind the cutout even when transparency is asked for.
    const Image jpeg = decodedWithQt(engine.renderData(cutout, ExportFormat::jpg, 0, true, 95));
    ASSERT_FALSE(jpeg.empty());
    EXPECT_GE(pixelAt(jpeg, 1, 1)[0], 245);
    EXPECT_GE(pixelAt(jpeg, 1, 1)[2], 245);

    const QByteArray opaquePng = engine.renderData(cutout, ExportFormat::png, 0, false, 90);
    const Image flat = decodedWithQt(opaquePng);
    EXPECT_EQ(pixelAt(flat, 0, 0), cv::Vec4b(255, 255, 255, 255));
    EXPECT_EQ(pixelAt(flat, 32, 24), pixelAt(cutout, 32, 24)); // the opaque middle is untouched
    double lowestAlpha = 0;
    cv::Mat alpha;
    cv::extractChannel(flat.pixels, alpha, 3);
    cv::minMaxLoc(alpha, &lowestAlpha);
    EXPECT_EQ(lowestAlpha, 255);

    // Kept alpha stays transparent.
    const Image transparentPng = decodedWithQt(engine.renderData(cutout, ExportFormat::png, 0, true, 90));
    EXPECT_EQ(pixelAt(transparentPng, 0, 0), cv::Vec4b(0, 0, 0, 0));
}

TEST(RenderData, RoundTripsThroughEveryFormat)
{
    const MatteEngine engine;
    const Image cutout = sampleCutout(97, 61);
    const Image onWhite = decodedWithQt(engine.renderData(cutout, ExportFormat::png, 0, false, 90));

    struct Case {
        ExportFormat format;
        double quality;
        Image (*decode)(const QByteArray&);
        const Image& expected;
        int largest;
        double mean;
    };
    const Case cases[] = {
        {ExportFormat::png, 90, decodedWithQt, cutout, 1, 0.1},
        {ExportFormat::webp, 100, decodedWebP, cutout, 1, 0.1},
        {ExportFormat::webp, 90, decodedWebP, cutout, 40, 2.0},
        {ExportFormat::jpg, 90, decodedWithQt, onWhite, 40, 2.0},
        {ExportFormat::heic, 90, decodedHeif, cutout, 40, 2.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rawValue(c.format).toStdString() + " at " + std::to_string(c.quality));
        const Image decoded = c.decode(engine.renderData(cutout, c.format, 0, true, c.quality));
        ASSERT_EQ(decoded.size(), cutout.size());
        const Difference d = difference(decoded, c.expected);
        EXPECT_LE(d.largest, c.largest);
        EXPECT_LE(d.mean, c.mean);
    }
}

TEST(RenderData, TagsFilesAsSRGB)
{
    const MatteEngine engine;
    const Image cutout = sampleCutout(20, 20);
    for (ExportFormat format : {ExportFormat::png, ExportFormat::jpg}) {
        QBuffer buffer;
        buffer.setData(engine.renderData(cutout, format, 0, true, 90));
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(QImageReader(&buffer).read().colorSpace(), QColorSpace(QColorSpace::SRgb))
            << rawValue(format).toStdString();
    }
    const auto heic = readHeif(engine.renderData(cutout, ExportFormat::heic, 0, true, 90), 1 << 20);
    ASSERT_TRUE(heic);
    EXPECT_EQ(heic->colorSpace(), QColorSpace(QColorSpace::SRgb));
}

TEST(RenderData, PassesQualityOnAsAFraction)
{
    const MatteEngine engine;
    const Image cutout = sampleCutout(64, 64);
    // libjpeg scales its base tables (luminance DC step 16) by 200 − 2q percent
    // above q 50: 3 at 90, 16 at 50.
    EXPECT_EQ(firstQuantisationStep(engine.renderData(cutout, ExportFormat::jpg, 0, false, 90)), 3);
    EXPECT_EQ(firstQuantisationStep(engine.renderData(cutout, ExportFormat::jpg, 0, false, 50)), 16);
}

TEST(RenderData, GivesHeicTheQualityAsWell)
{
    const MatteEngine engine;
    const Image photo = zephrin::testing::photoLikeImage({256, 192}, 7);
    const QByteArray fine = engine.renderData(photo, ExportFormat::heic, 0, false, 95);
    const QByteArray coarse = engine.renderData(photo, ExportFormat::heic, 0, false, 20);
    EXPECT_LT(coarse.size() * 2, fine.size());
    EXPECT_LT(difference(decodedHeif(fine), photo).mean, difference(decodedHeif(coarse), photo).mean);
}

TEST(RenderData, RefusesWhatItCannotWrite)
{
    const MatteEngine engine;
    try {
        engine.renderData(sampleCutout(8, 8), ExportFormat::svg, 0, true, 90);
        FAIL() << "svg was encoded";
    } catch (const MatteError& error) {
        EXPECT_EQ(error.kind(), MatteErrorKind::unsupportedFormat);
        EXPECT_STREQ(error.what(), "That export format isn't available yet.");
    }
    EXPECT_THROW(engine.renderData(Image(), ExportFormat::png, 0, true, 90), MatteError);
}

TEST(EncodeImage, WritesPngOrNothing)
{
    const MatteEngine engine;
    const Image cutout = sampleCutout(40, 30);
    const auto png = engine.encodeImage(cutout);
    ASSERT_TRUE(png);
    EXPECT_TRUE(png->startsWith("\x89PNG"));
    EXPECT_LE(difference(decodedWithQt(*png), cutout).largest, 1);
    EXPECT_FALSE(engine.encodeImage(Image()));
}
