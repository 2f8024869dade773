// What a file says about its pixels beside them: the Exif block of a JPEG
// wherever it stands, and a colour profile only where it fits the pixels.

#include "engine/codec/CodecFixtures.h"
#include "engine/codec/HeicWriter.h"
#include "engine/codec/JpegFixtures.h"
#include "engine/codec/ReadChecks.h"
#include "engine/codec/WebPEncoder.h"
#include "support/ExifBlock.h"
#include "support/GreyIccProfile.h"
#include "support/HostileImages.h"

#include <QColorSpace>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

TEST(JpegReader, TakesTheOrientationFromTheExifBlockWhereverItStands)
{
    // Editors often write their XMP block, another APP1 segment, first.
    const QByteArray jpeg = writeJpeg({.width = 97, .height = 41});
    const QByteArray xmp = jpegSegment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 42));
    const QByteArray turned = jpegSegment(0xE1, exifBlock(6));
    const ImageRead expected = readImage(jpegWithSegments(jpeg, turned), kPicture);
    ASSERT_TRUE(expected.image);
    ASSERT_EQ(expected.image->size(), cv::Size(41, 97));
    const std::pair<QByteArray, const char*> files[] = {
        {xmp + turned, "XMP, then Exif"},
        {turned + xmp, "Exif, then XMP"},
        {xmp + turned + jpegSegment(0xE1, exifBlock(3)), "XMP, then two Exif blocks: the first counts"},
    };
    for (const auto& [segments, what] : files) {
        SCOPED_TRACE(what);
        const ImageRead read = readImage(jpegWithSegments(jpeg, segments), kPicture);
        ASSERT_TRUE(read.image);
        ASSERT_EQ(read.image->size(), expected.image->size());
        EXPECT_EQ(cv::norm(read.image->pixels, expected.image->pixels, cv::NORM_INF), 0);
    }
}

namespace {

QImage tagged(QImage picture, const QByteArray& icc)
{
    picture.setColorSpace(QColorSpace::fromIccProfile(icc));
    return picture;
}

// `heic` (as HeicWriter makes it, with Qt's sRGB profile) carrying `icc`
// instead, padded to the same length so that no box moves.
QByteArray heicWithProfile(const QByteArray& heic, QByteArray icc)
{
    const QByteArray sRgb = QColorSpace(QColorSpace::SRgb).iccProfile();
    icc.append(sRgb.size() - icc.size(), '\0');
    for (int i = 0; i < 4; ++i)
        icc[i] = char((sRgb.size() >> (24 - 8 * i)) & 0xFF); // the profile's size
    QByteArray patched = heic;
    return patched.replace(sRgb, icc);
}

} // namespace

TEST(ImageRead, IgnoresAProfileMadeForOtherPixels)
{
    // A linear tone curve changes every mid tone, so that a profile applied
    // shows; a grey one applied to RGB pixels washed a red disc out to pink.
    const QByteArray grey = greyIccProfile(1.0);
    const QByteArray rgb = QColorSpace(QColorSpace::SRgbLinear).iccProfile();
    const QImage colour = gradient(48, 32, QImage::Format_RGB32);
    const QImage greyPicture = colour.convertToFormat(QImage::Format_Grayscale8);
    const QByteArray heic = writeHeic(imageFromQImage(colour), ImageFileOptions{}).value_or(QByteArray());
    const QByteArray greyHeic =
        writeHeic(imageFromQImage(greyPicture.convertToFormat(QImage::Format_RGB32)), ImageFileOptions{})
            .value_or(QByteArray());
    const QByteArray webp = WebPEncoder::encode(imageFromQImage(colour), 100);
    const QByteArray png = encoded(colour, "png");

    struct Case {
        const char* what;
        QByteArray file;
        QByteArray plain; // the same pixels without the profile
        bool applied;
    };
    const Case cases[] = {
        {"JPEG in colour, grey profile", writeJpeg({.icc = grey}), writeJpeg({}), false},
        {"grey JPEG, RGB profile", writeJpeg({.components = 1, .icc = rgb}), writeJpeg({.components = 1}), false},
        {"CMYK JPEG, RGB profile", writeJpeg({.components = 4, .icc = rgb}), writeJpeg({.components = 4}), false},
        {"WebP, grey profile", webpWithIccProfile(webp, grey), webp, false},
        {"TIFF in colour, grey profile", encoded(tagged(colour, grey), "tiff"), encoded(colour, "tiff"), false},
        {"grey TIFF, RGB profile", encoded(tagged(greyPicture, rgb), "tiff"), encoded(greyPicture, "tiff"), false},
        {"PNG in colour, grey profile", pngWithIccProfile(png, grey), png, false},
        {"HEIC in colour, grey profile", heicWithProfile(heic, grey), heic, false},
        // Profiles that fit are applied.
        {"grey JPEG, grey profile", writeJpeg({.components = 1, .icc = grey}), writeJpeg({.components = 1}), true},
        {"TIFF in colour, RGB profile", encoded(tagged(colour, rgb), "tiff"), encoded(colour, "tiff"), true},
        {"grey TIFF, grey profile", encoded(tagged(greyPicture, grey), "tiff"), encoded(greyPicture, "tiff"), true},
        {"grey HEIC, grey profile", heicWithProfile(greyHeic, grey), greyHeic, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.file, c.plain);
        const ImageRead read = readImage(c.file, kPicture);
        const ImageRead plain = readImage(c.plain, kPicture);
        ASSERT_TRUE(read.image);
        ASSERT_TRUE(plain.image);
        const double largest = cv::norm(read.image->pixels, plain.image->pixels, cv::NORM_INF);
        if (c.applied)
            EXPECT_GT(largest, 40);
        else
            EXPECT_EQ(largest, 0);
    }
}
