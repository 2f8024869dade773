#include "engine/codec/ImageRead.h"

#include "engine/codec/JpegFixtures.h"
#include "support/HostileImages.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

constexpr ReadLimits kPicture{8192, qint64(1) << 30, true, true};
constexpr ReadLimits kThumbnail{2048, qint64(32) << 20, false, false};

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QImage gradient(int width, int height, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 255 / width, y * 255 / height, 90, 255));
    return image;
}

// A 4 × 4 two-colour BMP, run-length coded one row at a time; with
// `rowsCoded` below 4 its data ends early (end of bitmap).
QByteArray rleBmp(int rowsCoded)
{
    QByteArray data;
    for (int row = 0; row < rowsCoded; ++row)
        data.append("\x04\x01\x00\x00", 4); // four pixels of colour 1, end of line
    data.append("\x00\x01", 2);             // end of bitmap
    QByteArray bmp = bmpClaiming(4, 4, 54 + 8);
    bmp.truncate(54);
    const auto put = [&](int at, quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            bmp[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    put(10, 54 + 8, 4); // pixels after the two-entry palette
    put(28, 8, 2);      // 8 bits a pixel
    put(30, 1, 4);      // RLE8
    put(46, 2, 4);      // colours used
    bmp.append("\x00\x00\x00\x00\xFF\xFF\xFF\x00", 8);
    bmp += data;
    put(2, quint32(bmp.size()), 4);
    return bmp;
}

cv::Vec4b pixelAt(const Image& image, int x, int y) { return image.pixels.at<cv::Vec4b>(y, x); }

void expectRefused(const ImageRead& read, ReadFailure failure, const char* what)
{
    EXPECT_FALSE(read.image) << what;
    EXPECT_EQ(read.failure, failure) << what;
}

} // namespace

TEST(ImageRead, RefusesSmallFilesClaimingHugePictures)
{
    const QByteArray pnm = QByteArray("P6\n16000 16000\n255\n") + QByteArray(1000, '\x40');
    for (const ReadLimits& limits : {kPicture, kThumbnail}) {
        expectRefused(readImage(tinyGifClaiming(16000, 16000), limits), ReadFailure::unreadable, "35-byte GIF");
        expectRefused(readImage(bmpClaiming(16000, 16000, 1024), limits), ReadFailure::unreadable, "1 KB BMP");
        expectRefused(readImage(flatGreyJpeg(16000, 16000, 600), limits), ReadFailure::unreadable, "damaged JPEG");
        expectRefused(readImage(pngClaiming(16000, 16000, 100), limits), ReadFailure::unreadable, "PNG");
        expectRefused(readImage(pnm, limits), ReadFailure::unreadable, "PPM");
    }
}

TEST(ImageRead, RefusesDataCutOffInsideThePicture)
{
    const QByteArray gif = tinyGifClaiming(1, 1);
    ASSERT_TRUE(readImage(gif, kPicture).image);
    EXPECT_FALSE(readImage(gif.left(gif.size() - 3), kPicture).image); // inside the frame's data

    ASSERT_TRUE(readImage(rleBmp(4), kPicture).image);
    EXPECT_FALSE(readImage(rleBmp(2), kPicture).image);

    const QByteArray bmp = encoded(gradient(64, 48), "bmp");
    ASSERT_TRUE(readImage(bmp, kPicture).image);
    EXPECT_FALSE(readImage(bmp.left(bmp.size() - 64 * 3), kPicture).image);

    const QByteArray ppm = encoded(gradient(64, 48), "ppm");
    ASSERT_TRUE(readImage(ppm, kPicture).image);
    EXPECT_FALSE(readImage(ppm.left(ppm.size() - 10), kPicture).image);

    // A scan whose data ends before its last block, the end marker still there.
    ASSERT_TRUE(readImage(flatGreyJpeg(640, 480), kPicture).image);
    EXPECT_FALSE(readImage(flatGreyJpeg(640, 480, 1000), kPicture).image);
}

TEST(ImageRead, ReadsWhatEveryFormatWritesWhole)
{
    const QImage picture = gradient(37, 23);
    for (const char* format : {"png", "bmp", "ppm", "pgm", "pbm", "xpm", "xbm", "ico"}) {
        const ImageRead read = readImage(encoded(picture, format), kPicture);
        ASSERT_TRUE(read.image) << format;
        EXPECT_EQ(read.image->size(), cv::Size(37, 23)) << format;
    }
    for (const QImage::Format depth : {QImage::Format_RGBA64, QImage::Format_Grayscale8, QImage::Format_Indexed8}) {
        const QImage converted = depth == QImage::Format_Indexed8 ? picture.convertToFormat(depth, Qt::ThresholdDither)
                                                                  : picture.convertToFormat(depth);
        const ImageRead read = readImage(encoded(converted, "png"), kPicture);
        ASSERT_TRUE(read.image) << depth;
        EXPECT_EQ(read.image->size(), cv::Size(37, 23));
    }
}

TEST(ImageRead, DecodesALargeJpegAtAReducedScale)
{
    // A quarter of 4000 × 3000 is the 1000 × 750 asked for.
    const QByteArray jpeg = flatGreyJpeg(4000, 3000);
    const ImageRead quarter = readImage(jpeg, ReadLimits{1000, 4 << 20, false, false});
    ASSERT_TRUE(quarter.image);
    EXPECT_EQ(quarter.image->size(), cv::Size(1000, 750));
    EXPECT_EQ(pixelAt(*quarter.image, 500, 400), cv::Vec4b(128, 128, 128, 255));

    // 280 megapixels read for a thumbnail: an eighth, then scaled to the limit.
    const ImageRead thumbnail = readImage(flatGreyJpeg(20000, 14000), kThumbnail);
    ASSERT_TRUE(thumbnail.image);
    EXPECT_EQ(thumbnail.image->size(), cv::Size(2048, 1433));
}

TEST(ImageRead, SaysTooLargeWhereTheFormatCannotDecodeSmaller)
{
    // Enough data for its size (deflate packs at most 1032:1), but 11600 × 11600
    // 16-bit RGBA takes more than 1 GiB, and such a PNG decodes only whole.
    const ImageRead png = readImage(pngClaiming(11600, 11600, 1100 * 1000, 16), kPicture);
    expectRefused(png, ReadFailure::tooLarge, "PNG past the limit");

    // A progressive JPEG holds all its coefficients until its last scan, at
    // any scale: 20 megapixels of them (40 MB) pass a thumbnail's limit where
    // a baseline file decodes at an eighth.
    JpegSpec spec{.width = 5000, .height = 4000, .components = 1, .quality = 50};
    ASSERT_TRUE(readImage(writeJpeg(spec), kThumbnail).image);
    spec.progressive = true;
    const QByteArray progressive = writeJpeg(spec);
    expectRefused(readImage(progressive, kThumbnail), ReadFailure::tooLarge, "progressive JPEG");
    EXPECT_TRUE(readImage(progressive, kPicture).image);
}

TEST(ImageRead, KeepsAtLeastOnePixelOnEachSide)
{
    for (const QSize size : {QSize(1, 9000), QSize(9000, 1), QSize(2, 30000)}) {
        const ImageRead png = readImage(encoded(gradient(size.width(), size.height()), "png"), kPicture);
        ASSERT_TRUE(png.image) << size.width() << " x " << size.height();
        EXPECT_EQ(std::max(png.image->width(), png.image->height()), 8192);
        EXPECT_EQ(std::min(png.image->width(), png.image->height()), 1);
    }
    const ImageRead jpeg = readImage(flatGreyJpeg(1, 9000), kPicture);
    ASSERT_TRUE(jpeg.image);
    EXPECT_EQ(jpeg.image->size(), cv::Size(1, 8192));
}

TEST(ImageRead, DecodesPastQtsOwnLimitWithoutChangingIt)
{
    const int limit = QImageReader::allocationLimit();
    // 6000 × 6000 RGBA takes 144 MB, more than Qt's readers allocate by default.
    const QByteArray png = clearPng(6000, 6000);
    const ImageRead read = readImage(png, kPicture);
    ASSERT_TRUE(read.image);
    EXPECT_EQ(read.image->size(), cv::Size(6000, 6000));
    EXPECT_EQ(QImageReader::allocationLimit(), limit);
    // PNG rows are scaled as they are read: a thumbnail of it takes 16 MB.
    const ImageRead thumbnail = readImage(png, kThumbnail);
    ASSERT_TRUE(thumbnail.image);
    EXPECT_EQ(thumbnail.image->size(), cv::Size(2048, 2048));
}

// ---- The JPEG reader against Qt's ---------------------------------------------

namespace {

// What Qt's reader makes of a JPEG, the way pictures were loaded before the
// JPEG reader of our own: scaled while decoding, converted to sRGB, turned
// upright. (Qt turns before converting, and a turn by 90° drops the colour
// space, so that such pictures kept their colours unconverted: a fault left
// behind, hence the order here.)
Image qtDecoded(const QByteArray& jpeg, int maxLongEdge)
{
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (const QSize stored = reader.size(); std::max(stored.width(), stored.height()) > maxLongEdge)
        reader.setScaledSize(stored.scaled(maxLongEdge, maxLongEdge, Qt::KeepAspectRatio));
    const QImageIOHandler::Transformations turn = reader.transformation();
    QImage image = reader.read();
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    image.mirror(turn.testFlag(QImageIOHandler::TransformationMirror), turn.testFlag(QImageIOHandler::TransformationFlip));
    if (turn.testFlag(QImageIOHandler::TransformationRotate90))
        image = image.transformed(QTransform().rotate(90));
    return imageFromQImage(image);
}

void expectSamePixels(const JpegSpec& spec, const char* what)
{
    const QByteArray jpeg = writeJpeg(spec);
    for (const int maxLongEdge : {8192, 150, 61}) {
        const Image expected = qtDecoded(jpeg, maxLongEdge);
        const ImageRead read = readImage(jpeg, ReadLimits{maxLongEdge, qint64(1) << 30, true, true});
        ASSERT_FALSE(expected.empty()) << what;
        ASSERT_TRUE(read.image) << what << " at " << maxLongEdge;
        ASSERT_EQ(read.image->size(), expected.size()) << what << " at " << maxLongEdge;
        EXPECT_EQ(cv::norm(read.image->pixels, expected.pixels, cv::NORM_INF), 0) << what << " at " << maxLongEdge;
    }
}

} // namespace

TEST(JpegReader, GivesThePixelsOfQtsReader)
{
    expectSamePixels({}, "4:2:0");
    expectSamePixels({.lumaH = 1, .lumaV = 1}, "4:4:4");
    expectSamePixels({.lumaH = 2, .lumaV = 1}, "4:2:2");
    expectSamePixels({.width = 101, .height = 67, .lumaH = 2, .lumaV = 2}, "odd size");
    expectSamePixels({.components = 1}, "grey");
    expectSamePixels({.components = 4}, "CMYK");
    expectSamePixels({.progressive = true}, "progressive");
    expectSamePixels({.restartRows = 1}, "restart markers");
    expectSamePixels({.icc = QColorSpace(QColorSpace::DisplayP3).iccProfile()}, "Display P3 profile");
    expectSamePixels({.icc = QColorSpace(QColorSpace::AdobeRgb).iccProfile(), .app1 = exifBlock(6)},
                     "Adobe RGB profile, turned");
    expectSamePixels({.components = 1, .icc = QColorSpace(QColorSpace::DisplayP3).iccProfile()}, "grey, profile");
}

TEST(JpegReader, ReadsTheOrientationFlagAsQtDoes)
{
    for (quint16 orientation = 1; orientation <= 8; ++orientation)
        expectSamePixels({.width = 97, .height = 41, .app1 = exifBlock(orientation)},
                         qPrintable(QStringLiteral("orientation %1").arg(orientation)));
    // Malformed blocks are ignored by both.
    expectSamePixels({.app1 = exifBlock(9)}, "orientation out of range");
    expectSamePixels({.app1 = exifBlock(6, 0x0112, 4)}, "orientation as a LONG");
    expectSamePixels({.app1 = exifBlock(6, 0x0112, 3, 2)}, "two orientations");
    expectSamePixels({.app1 = exifBlock(6, 0x0112, 3, 1, 4)}, "an IFD that points backwards");
    expectSamePixels({.app1 = QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 33) + exifBlock(6)},
                     "XMP before Exif");
}
