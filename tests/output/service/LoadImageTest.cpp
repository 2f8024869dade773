#include "output/service/CutoutService.h"

#include "../ImageFiles.h"
#include "engine/codec/ImageDestination.h"
#include "engine/codec/JpegScans.h"
#include "support/GifWriter.h"
#include "support/HostileImages.h"

#include <QImageReader>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

cv::Vec4b pixelAt(const Image& image, int x, int y) { return image.pixels.at<cv::Vec4b>(y, x); }

bool isRedDisc(cv::Vec4b p) { return p[0] > 100 && p[1] < 80 && p[3] == 255; }
bool isWhite(cv::Vec4b p) { return p[0] > 240 && p[1] > 240 && p[2] > 240; }

} // namespace

TEST(LoadImage, AppliesTheOrientationFlag)
{
    // Stored on its side: the disc at the stored image's left (its top once
    // turned 90° clockwise, orientation 6).
    QImage stored = discOnWhite(200, 120).transformed(QTransform().rotate(-90));
    ASSERT_EQ(stored.size(), QSize(120, 200));
    const auto upright = CutoutService::loadImage(withExifOrientation(encoded(stored, "jpeg"), 6));
    ASSERT_TRUE(upright);
    EXPECT_EQ(upright->size(), cv::Size(200, 120));
    EXPECT_TRUE(isRedDisc(pixelAt(*upright, 100, 30)));
    EXPECT_TRUE(isWhite(pixelAt(*upright, 100, 110)));
}

TEST(LoadImage, LimitsTheLongerSideTo8192)
{
    const QImage wide = discOnWhite(10000, 6000);
    for (const char* format : {"jpeg", "png"}) {
        const auto loaded = CutoutService::loadImage(encoded(wide, format));
        ASSERT_TRUE(loaded) << format;
        EXPECT_EQ(loaded->size(), cv::Size(8192, 4915)) << format;
    }
    const auto small = CutoutService::loadImage(encoded(discOnWhite(300, 200), "png"));
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size(), cv::Size(300, 200));
}

TEST(LoadImage, ReadsHeic)
{
    const Image source = imageFromQImage(discOnWhite(160, 100));
    const auto heic = writeImageFile(source, ImageFileType::heic, ImageFileOptions{0.9, false});
    ASSERT_TRUE(heic);
    const auto loaded = CutoutService::loadImage(*heic);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->size(), cv::Size(160, 100));
    EXPECT_TRUE(isRedDisc(pixelAt(*loaded, 80, 25)));
}

TEST(LoadImage, RefusesWhatIsNotAWholeImage)
{
    EXPECT_FALSE(CutoutService::loadImage(QByteArray()));
    EXPECT_FALSE(CutoutService::loadImage(QByteArray("Shopping list:\n- milk\n- bread\n")));

    const QByteArray jpeg = encoded(discOnWhite(640, 480), "jpeg");
    ASSERT_TRUE(CutoutService::loadImage(jpeg));
    for (double kept : {0.1, 0.5, 0.95})
        EXPECT_FALSE(CutoutService::loadImage(jpeg.left(qsizetype(jpeg.size() * kept)))) << kept;
    const QByteArray png = encoded(discOnWhite(640, 480), "png");
    EXPECT_FALSE(CutoutService::loadImage(png.left(png.size() / 2)));
    const QByteArray heic = *writeImageFile(imageFromQImage(discOnWhite(64, 64)), ImageFileType::heic, {});
    EXPECT_FALSE(CutoutService::loadImage(heic.left(heic.size() / 2)));

    EXPECT_FALSE(CutoutService::loadImage(pngHeaderClaiming(100000, 100000)));
    EXPECT_FALSE(CutoutService::loadImage(pngHeaderClaiming(20000, 20000)));
}

namespace {

CutoutService::FailureKind failureOf(const QByteArray& bytes)
{
    try {
        CutoutService::decodeUpright(bytes);
    } catch (const CutoutService::Failure& failure) {
        return failure.kind();
    }
    ADD_FAILURE() << "decoded";
    return CutoutService::FailureKind::renderFailed;
}

} // namespace

// What checkHeader throws, which is what decodeUpright throws before it decodes.
std::optional<CutoutService::FailureKind> headerFailureOf(const QByteArray& bytes)
{
    try {
        CutoutService::checkHeader(bytes);
    } catch (const CutoutService::Failure& failure) {
        return failure.kind();
    }
    return std::nullopt;
}

TEST(LoadImage, SaysTooLargeRatherThanUnreadable)
{
    // 16400 × 16400 RGBA, interlaced, which PNG decodes only whole: 1.08 GB.
    const QByteArray png = pngClaiming(16400, 16400, 1100 * 1000, 8, true);
    const CutoutService::FailureKind kind = failureOf(png);
    EXPECT_EQ(kind, CutoutService::FailureKind::tooLarge);
    EXPECT_EQ(headerFailureOf(png), kind);
    EXPECT_STREQ(CutoutService::sentence(kind), "That image is too large.");
    EXPECT_EQ(headerFailureOf(tinyGifClaiming(16000, 16000)), CutoutService::FailureKind::unreadable);
    EXPECT_EQ(headerFailureOf(QByteArray("Shopping list")), CutoutService::FailureKind::unreadable);
}

TEST(LoadImage, LoadsAGifPastQtsOwnLimit)
{
    // 6000 × 6000 (144 MB decoded) was "too large": Qt's GIF reader allocates
    // under its own 128 MB limit instead of the load's.
    const QByteArray gif = discGif(6000, 6000, 2000);
    EXPECT_EQ(headerFailureOf(gif), std::nullopt);
    const std::optional<Image> loaded = CutoutService::loadImage(gif);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->size(), cv::Size(6000, 6000));
    EXPECT_TRUE(isRedDisc(pixelAt(*loaded, 3000, 3000)));
}

TEST(LoadImage, LoadsAThinPictureAndAJpegLargerThanAnyOtherFormatMay)
{
    QImage thin(1, 9000, QImage::Format_RGB32);
    thin.fill(Qt::darkRed);
    const auto loaded = CutoutService::loadImage(encoded(thin, "png"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->size(), cv::Size(1, 8192));

    // 280 megapixels: a JPEG decodes at half its size, then to the limit.
    const auto huge = CutoutService::loadImage(flatGreyJpeg(20000, 14000));
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->size(), cv::Size(8192, 5734));
}

TEST(LoadImage, LeavesQtsAllocationLimitAlone)
{
    // The limit is the whole process's: a thumbnail decoded after a cutout
    // must not inherit a cutout's allowance.
    const int limit = QImageReader::allocationLimit();
    ASSERT_TRUE(CutoutService::loadImage(encoded(discOnWhite(300, 200), "png")));
    EXPECT_EQ(QImageReader::allocationLimit(), limit);
}

TEST(JpegScans, FindsTheEndOfTheFirstImage)
{
    const QByteArray jpeg = encoded(discOnWhite(320, 240), "jpeg");
    const std::optional<qint64> scans = jpegScanBytes(jpeg);
    ASSERT_TRUE(scans);
    // Data after the end marker (an appended video, padding) is not a truncation.
    EXPECT_EQ(jpegScanBytes(jpeg + QByteArray(5000, '\x42')), scans);
    EXPECT_FALSE(jpegScanBytes(encoded(discOnWhite(32, 24), "png")));
    for (qsizetype cut = 2; cut < jpeg.size(); cut += 97)
        EXPECT_FALSE(jpegScanBytes(jpeg.left(cut))) << cut;
    EXPECT_FALSE(jpegScanBytes(jpeg.left(jpeg.size() - 1)));
}
