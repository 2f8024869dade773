// A file's data is judged by what codes pixels: padding beside a JPEG's scans
// makes it no larger, and a TIFF's sizes count whatever integer type holds them.

#include "engine/codec/JpegFixtures.h"
#include "engine/codec/ReadChecks.h"
#include "support/HostileImages.h"

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

const QByteArray kComment = jpegSegment(0xFE, QByteArray(65533, 'c'));
const QByteArray kAfterEnd(140 * 1024, '\0');

} // namespace

TEST(ImageRead, JudgesAJpegsDataByItsScansAlone)
{
    // Each claims far more than its scans hold; the padding made the file
    // large enough for the floor, and the decode invented a flat picture
    // (arithmetic coding) or failed only after allocating it.
    const QByteArray arithmetic = arithmeticJpegClaiming(65500, 65500);
    const QByteArray cutScan = flatGreyJpeg(16000, 16000, 1000);
    const QByteArray strip = writeJpeg({.width = 600, .height = 400, .components = 1});
    const std::pair<QByteArray, const char*> claims[] = {
        {arithmetic + kAfterEnd, "arithmetic-coded, 140 KB after its end"},
        // The decoder read a few KB of them and skipped the rest.
        {arithmeticJpegClaiming(65500, 65500, 150 * 1000), "arithmetic-coded, 150 KB of zeros inside its scan"},
        {jpegTiff(arithmeticJpegClaiming(16000, 16000, 600 * 1024), 16000, 16000),
         "JPEG-in-TIFF arithmetic strip of 600 KB of zeros, claiming 16000 x 16000"},
        {jpegWithSegments(arithmetic, kComment + kComment + kComment), "arithmetic-coded, three 64 KB comments"},
        {cutScan + QByteArray(600 * 1024, '\0'), "Huffman-coded scan cut short, 600 KB after its end"},
        {jpegTiff(jpegWithSegments(strip, kComment.repeated(8)), 16000, 16000),
         "JPEG-in-TIFF strip of 600 x 400 and 512 KB of comments, claiming 16000 x 16000"},
    };
    for (const auto& [bytes, what] : claims)
        expectRefusedUnread(bytes, kPicture, ReadFailure::unreadable, what);

    // The same padding around scans that hold their picture is no reason to refuse.
    const std::pair<QByteArray, const char*> honest[] = {
        {writeJpeg({.arithmetic = true}) + kAfterEnd, "arithmetic-coded, 140 KB after its end"},
        {jpegWithSegments(writeJpeg({}), kComment), "a 64 KB comment"},
        {jpegTiff(jpegWithSegments(strip, kComment), 600, 400), "JPEG-in-TIFF strip with a comment"},
    };
    for (const auto& [bytes, what] : honest) {
        SCOPED_TRACE(what);
        EXPECT_EQ(headerRefusal(bytes, kPicture), std::nullopt);
        EXPECT_TRUE(readImage(bytes, kPicture).image);
    }
}

TEST(ImageRead, ReadsTiffSizesOfEveryIntegerType)
{
    // libtiff takes a width or height stored as any of these; the data check
    // read SHORT and LONG alone and let a 16000 x 16000 claim in any other
    // through to a decode of 1 GB.
    const QByteArray strip = writeJpeg({.width = 40, .height = 24, .components = 1});
    const ImageRead expected = readImage(tiffClaiming(37, 23, 37 * 23), kPicture);
    const ImageRead expectedJpeg = readImage(jpegTiff(strip, 40, 24), kPicture);
    ASSERT_TRUE(expected.image);
    ASSERT_TRUE(expectedJpeg.image);
    const std::pair<int, const char*> types[] = {{1, "BYTE"},   {3, "SHORT"}, {4, "LONG"},  {6, "SBYTE"},
                                                 {8, "SSHORT"}, {9, "SLONG"}, {16, "LONG8"}, {17, "SLONG8"}};
    for (const auto& [type, name] : types) {
        SCOPED_TRACE(name);
        const ImageRead read = readImage(tiffClaiming(37, 23, 37 * 23, type), kPicture);
        ASSERT_TRUE(read.image);
        EXPECT_EQ(cv::norm(read.image->pixels, expected.image->pixels, cv::NORM_INF), 0);
        const ImageRead readJpeg = readImage(jpegTiff(strip, 40, 24, -1, false, type), kPicture);
        ASSERT_TRUE(readJpeg.image);
        EXPECT_EQ(cv::norm(readJpeg.image->pixels, expectedJpeg.image->pixels, cv::NORM_INF), 0);
        if (type == 1 || type == 6)
            continue; // 16000 does not fit
        expectRefusedUnread(tiffClaiming(16000, 16000, 1000, type), kPicture, ReadFailure::unreadable, "uncompressed");
        expectRefusedUnread(deflateTiffClaiming(16000, 16000, type), kPicture, ReadFailure::unreadable,
                            "a Deflate strip cut short");
        expectRefusedUnread(jpegTiff(strip, 16000, 16000, -1, false, type), kPicture, ReadFailure::unreadable,
                            "a JPEG strip of 40 x 24");
    }
}
