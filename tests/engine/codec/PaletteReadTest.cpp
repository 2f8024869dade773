// A palette picture gives the colours its file holds: a pixel whose index lies
// past the palette is damage, a palette picture without a colour map it can
// use is refused, and what Qt says while it reads one stays in the log.

#include "engine/codec/ImageRead.h"

#include "engine/codec/ReadChecks.h"
#include "support/GifWriter.h"
#include "support/HostileImages.h"
#include "support/StandardError.h"
#include "support/TiffFiles.h"

#include <QLoggingCategory>

#include <vector>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

constexpr int kWidth = 24;
constexpr int kHeight = 16;
// Scaled down while it is read.
constexpr ReadLimits kSmall{8, qint64(1) << 30, true, true};

// Indices running through 0 … count - 1, row after row.
std::vector<quint8> indicesBelow(int count)
{
    std::vector<quint8> indices(size_t(kWidth) * kHeight);
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = quint8((i * 7 + i / kWidth) % size_t(count));
    return indices;
}

// Every pixel of `image` is the colour its index names, opaque.
::testing::AssertionResult showsPalette(const Image& image, const std::vector<quint8>& indices,
                                        const std::function<QRgb(int)>& colour)
{
    if (image.width() != kWidth || image.height() != kHeight)
        return ::testing::AssertionFailure() << "size " << image.width() << " x " << image.height();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const QRgb expected = colour(indices[size_t(y) * kWidth + size_t(x)]);
            const cv::Vec4b p = pixelAt(image, x, y);
            if (p != cv::Vec4b(uchar(qRed(expected)), uchar(qGreen(expected)), uchar(qBlue(expected)), 255))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") = " << cv::Mat(p).t();
        }
    return ::testing::AssertionSuccess();
}

QImage indexedPicture(int colours, const std::vector<quint8>& indices)
{
    QImage picture(kWidth, kHeight, QImage::Format_Indexed8);
    picture.setColorCount(colours);
    for (int i = 0; i < colours; ++i)
        picture.setColor(i, paletteColour(i));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.scanLine(y)[x] = indices[size_t(y) * kWidth + size_t(x)];
    return picture;
}

// A GIF of `colours` (paletteColour) whose codes start at eight bits, so
// that any index may be coded.
QByteArray paletteGif(int colours, const std::vector<quint8>& indices, int transparentIndex = -1)
{
    GifSpec spec;
    spec.screen = QSize(kWidth, kHeight);
    spec.frame = QRect(0, 0, kWidth, kHeight);
    spec.indices = indices;
    for (int i = 0; i < colours; ++i)
        spec.colours.append(char(qRed(paletteColour(i)))).append(char(qGreen(paletteColour(i)))).append(char(qBlue(paletteColour(i))));
    spec.minimumCodeSize = 8;
    spec.transparentIndex = transparentIndex;
    return gifFile(spec);
}

} // namespace

TEST(ImageRead, RefusesPalettePixelsPastThePalette)
{
    // Each pixel past the palette came out opaque black, and the read
    // succeeded (libpng only warns of it; Qt's BMP reader says nothing).
    struct Case {
        QByteArray damaged;
        QByteArray honest;
        const char* what;
    };
    const std::vector<quint8> twoLevels = indicesBelow(2);
    const Case cases[] = {
        {palettePng(kWidth, kHeight, 8, 4, indicesBelow(9)), palettePng(kWidth, kHeight, 8, 4, indicesBelow(4)),
         "8-bit PNG of 4 colours"},
        {palettePng(kWidth, kHeight, 4, 3, indicesBelow(16)), palettePng(kWidth, kHeight, 4, 3, indicesBelow(3)),
         "4-bit PNG of 3 colours"},
        {palettePng(kWidth, kHeight, 1, 1, twoLevels), palettePng(kWidth, kHeight, 1, 2, twoLevels),
         "1-bit PNG of 1 colour"},
        {indexedBmp(kWidth, kHeight, 4, 2, indicesBelow(6)), indexedBmp(kWidth, kHeight, 4, 2, indicesBelow(2)),
         "4-bit BMP of 2 colours"},
        {indexedBmp(kWidth, kHeight, 8, 16, indicesBelow(40)), indexedBmp(kWidth, kHeight, 8, 16, indicesBelow(16)),
         "8-bit BMP of 16 colours"},
        {indexedBmp(kWidth, kHeight, 1, 1, twoLevels), indexedBmp(kWidth, kHeight, 1, 0, twoLevels),
         "1-bit BMP of 1 colour"},
        // A GIF showed such a pixel as white with no alpha.
        {paletteGif(4, indicesBelow(9)), paletteGif(4, indicesBelow(4)), "GIF of 4 colours"},
        {paletteGif(2, indicesBelow(4), 2), paletteGif(2, indicesBelow(3), 2), "GIF of 2 colours, transparent past them"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectRefused(readImage(c.damaged, kPicture), ReadFailure::unreadable, "whole");
        expectRefused(readImage(c.damaged, kSmall), ReadFailure::unreadable, "scaled down");
        const ImageRead honest = readImage(c.honest, kPicture);
        ASSERT_TRUE(honest.image);
        EXPECT_TRUE(readImage(c.honest, kSmall).image);
    }

    const std::vector<quint8> indices = indicesBelow(16);
    const ImageRead png = readImage(palettePng(kWidth, kHeight, 4, 16, indices), kPicture);
    const ImageRead bmp = readImage(indexedBmp(kWidth, kHeight, 4, 16, indices), kPicture);
    ASSERT_TRUE(png.image && bmp.image);
    EXPECT_TRUE(showsPalette(*png.image, indices, paletteColour));
    EXPECT_TRUE(showsPalette(*bmp.image, indices, paletteColour));
    const ImageRead gif = readImage(paletteGif(16, indices), kPicture);
    ASSERT_TRUE(gif.image);
    EXPECT_TRUE(showsPalette(*gif.image, indices, paletteColour));
}

TEST(ImageRead, RefusesAPaletteTiffWithoutAColourMapItCanUse)
{
    // libtiff drops a ColorMap of another count than the samples need, or
    // finds none, and reads an 8-bit palette picture as grey: its indices
    // came out as a near-black picture.
    const std::vector<quint8> indices = indicesBelow(16);
    const QImage picture = indexedPicture(16, indices);
    const std::pair<QByteArray, const char*> refused[] = {
        {paletteTiff(picture, 8, 16), "8-bit, a ColorMap of 16 colours"},
        {paletteTiff(picture, 8, 0), "8-bit, no ColorMap"},
        {paletteTiff(picture, 4, 4), "4-bit, a ColorMap of 4 colours"},
    };
    for (const auto& [bytes, what] : refused) {
        ASSERT_FALSE(bytes.isEmpty()) << what;
        expectRefusedUnread(bytes, kPicture, ReadFailure::unreadable, what);
    }
    const auto colour = [&](int index) { return picture.color(index); };
    for (const int bits : {8, 4}) {
        SCOPED_TRACE(bits);
        const ImageRead read = readImage(paletteTiff(picture, bits), kPicture);
        ASSERT_TRUE(read.image);
        EXPECT_TRUE(showsPalette(*read.image, indices, colour));
    }
}

TEST(ImageRead, KeepsQtsImageWarningsInTheLog)
{
    // A 1-bit BMP whose header counts 256 colours: Qt printed "QImage::setColor:
    // Index out of bound N" for each of the 254 it cannot hold.
    quietImageReaderWarnings();
    const std::vector<quint8> indices = indicesBelow(2);
    const QByteArray bmp = indexedBmp(kWidth, kHeight, 1, 256, indices);
    ImageRead read;
    EXPECT_EQ(printedWhile([&] { read = readImage(bmp, kPicture); }), QByteArray());
    ASSERT_TRUE(read.image);
    EXPECT_TRUE(showsPalette(*read.image, indices, paletteColour));

    QLoggingCategory::setFilterRules(QStringLiteral("zephrin.imageio*=true"));
    const QByteArray logged = printedWhile([&] { readImage(bmp, kPicture); });
    QLoggingCategory::setFilterRules({});
    EXPECT_TRUE(logged.contains("zephrin.imageio: Qt: QImage::setColor: Index out of bound 255"))
        << logged.left(300).toStdString();
}
