// YCbCr TIFFs whose chroma is sampled once for a block of pixels hold fewer
// bytes than three a pixel, and open in their colours.

#include "engine/codec/ImageRead.h"

#include "engine/codec/ReadChecks.h"
#include "support/TiffFiles.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

// Blocks of 4 × 4 pixels of one colour each: flat over every chroma block,
// so that sampling the chroma loses nothing.
QImage blockPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int bx = x / 4, by = y / 4;
            picture.setPixel(x, y, qRgb(40 + bx * 13 % 180, 30 + by * 29 % 200, 60 + (bx + by) * 17 % 170));
        }
    return picture;
}

} // namespace

TEST(ImageRead, ReadsSubsampledYCbCrTiffsInTheirColours)
{
    // 4:2:0 stores a byte and a half a pixel, 4:2:2 two: the data check
    // wanted three and refused them as damaged.
    const std::pair<QSize, const char*> samplings[] = {
        {QSize(2, 2), "4:2:0"}, {QSize(2, 1), "4:2:2"}, {QSize(4, 2), "4 x 2"}, {QSize(1, 1), "4:4:4"}};
    for (const QSize size : {QSize(600, 400), QSize(61, 43)}) {
        const QImage picture = blockPicture(size.width(), size.height());
        const Image expected = imageFromQImage(picture);
        for (const auto& [sampling, name] : samplings) {
            SCOPED_TRACE(::testing::Message() << name << ", " << size.width() << " x " << size.height());
            const QByteArray tiff = ycbcrTiff(picture, sampling.width(), sampling.height());
            ASSERT_FALSE(tiff.isEmpty());
            EXPECT_EQ(headerRefusal(tiff, kPicture), std::nullopt);
            const ImageRead read = readImage(tiff, kPicture);
            ASSERT_TRUE(read.image);
            ASSERT_EQ(read.image->pixels.size(), expected.pixels.size());
            cv::Mat difference;
            cv::absdiff(read.image->pixels, expected.pixels, difference);
            double largest = 0;
            cv::minMaxLoc(difference.reshape(1), nullptr, &largest);
            EXPECT_LE(largest, 4);
            // Its last strip a byte short, the data no longer holds the picture.
            expectRefusedUnread(ycbcrTiff(picture, sampling.width(), sampling.height(), 1), kPicture,
                                ReadFailure::unreadable, "a byte short");
        }
    }
}
