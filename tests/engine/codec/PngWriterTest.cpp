#include "engine/codec/PngWriter.h"

#include "engine/pixel/Premultiply.h"

#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <opencv2/imgproc.hpp>
#include <png.h>

#include <vector>

using namespace zephrin;

namespace {

// Seeded noise with every kind of alpha (clear, opaque, in between), premultiplied.
Image noisyCutout(int width, int height, std::uint64_t seed)
{
    cv::Mat straight(height, width, CV_8UC4);
    cv::RNG(seed).fill(straight, cv::RNG::UNIFORM, 0, 256);
    for (int y = 0; y < height; ++y) {
        auto* row = straight.ptr<cv::Vec4b>(y);
        for (int x = 0; x < width; ++x) {
            if ((x + y) % 7 == 0)
                row[x][3] = 0;
            else if ((x * 3 + y) % 5 == 0)
                row[x][3] = 255;
        }
    }
    return premultiplied(straight);
}

// The pixels the file must hold: straight RGBA, or RGB without the alpha byte.
cv::Mat expectedPixels(const Image& image, bool keepAlpha)
{
    if (keepAlpha)
        return unpremultiplied(image);
    cv::Mat rgb;
    cv::cvtColor(image.pixels, rgb, cv::COLOR_RGBA2RGB);
    return rgb;
}

struct LibpngRead {
    cv::Mat pixels;
    int colourType = -1;
    int srgbIntent = -1;
    png_uint_32 gamma = 0;
    png_uint_32 pixelsPerMetreX = 0, pixelsPerMetreY = 0;
    bool ok = false;
};

struct MemoryReader {
    const QByteArray* bytes;
    qsizetype at = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->at + qsizetype(length) > reader->bytes->size())
        png_error(png, "read past the end");
    std::memcpy(out, reader->bytes->constData() + reader->at, length);
    reader->at += qsizetype(length);
}

// libpng's strict reader: every chunk's CRC and the zlib stream's Adler-32 checked.
bool readWithLibpng(const QByteArray& file, LibpngRead& result, std::vector<png_bytep>& rows)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{&file};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    const int width = int(png_get_image_width(png, info));
    const int height = int(png_get_image_height(png, info));
    result.colourType = png_get_color_type(png, info);
    png_get_sRGB(png, info, &result.srgbIntent);
    png_get_gAMA_fixed(png, info, reinterpret_cast<png_fixed_point*>(&result.gamma));
    int unit = 0;
    png_get_pHYs(png, info, &result.pixelsPerMetreX, &result.pixelsPerMetreY, &unit);
    result.pixels.create(height, width, result.colourType == PNG_COLOR_TYPE_RGB_ALPHA ? CV_8UC4 : CV_8UC3);
    rows.resize(size_t(height));
    for (int y = 0; y < height; ++y)
        rows[size_t(y)] = result.pixels.ptr<png_byte>(y);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

LibpngRead libpngRead(const QByteArray& file)
{
    LibpngRead result;
    std::vector<png_bytep> rows;
    result.ok = readWithLibpng(file, result, rows);
    return result;
}

cv::Mat qtRead(const QByteArray& file, bool keepAlpha)
{
    const QImage image = QImage::fromData(file, "PNG")
                             .convertToFormat(keepAlpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    return cv::Mat(image.height(), image.width(), keepAlpha ? CV_8UC4 : CV_8UC3, const_cast<uchar*>(image.bits()),
                   size_t(image.bytesPerLine()))
        .clone();
}

bool samePixels(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0;
}

} // namespace

TEST(PngWriter, DecodesToTheExactPixelsWithLibpngAndQt)
{
    // One band, a band and a row, and many bands deflated at once (wide rows,
    // a band boundary inside the Paeth filter's reach of every row).
    for (const cv::Size size : {cv::Size(1, 1), cv::Size(3, 2), cv::Size(257, 300), cv::Size(2400, 700)}) {
        const Image image = noisyCutout(size.width, size.height, std::uint64_t(size.area()));
        for (const bool keepAlpha : {true, false}) {
            SCOPED_TRACE(::testing::Message() << size << (keepAlpha ? " RGBA" : " RGB"));
            const std::optional<QByteArray> file = writePng(image, keepAlpha);
            ASSERT_TRUE(file);
            const cv::Mat expected = expectedPixels(image, keepAlpha);
            const LibpngRead strict = libpngRead(*file);
            ASSERT_TRUE(strict.ok);
            EXPECT_EQ(strict.colourType, keepAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB);
            EXPECT_TRUE(samePixels(strict.pixels, expected));
            EXPECT_TRUE(samePixels(qtRead(*file, keepAlpha), expected));
        }
    }
}

TEST(PngWriter, TagsSRGBAndTheResolution)
{
    const LibpngRead tagged = libpngRead(*writePng(noisyCutout(40, 30, 1), true, 11811));
    ASSERT_TRUE(tagged.ok);
    EXPECT_EQ(tagged.srgbIntent, PNG_sRGB_INTENT_PERCEPTUAL);
    EXPECT_EQ(tagged.gamma, 45455u);
    EXPECT_EQ(tagged.pixelsPerMetreX, 11811u);
    EXPECT_EQ(tagged.pixelsPerMetreY, 11811u);

    const LibpngRead plain = libpngRead(*writePng(noisyCutout(40, 30, 1), true));
    ASSERT_TRUE(plain.ok);
    EXPECT_EQ(plain.pixelsPerMetreX, 0u); // no pHYs chunk
}

TEST(PngWriter, WritesTheSameFileWhateverTheThreads)
{
    const Image image = noisyCutout(1200, 900, 7);
    const int threads = cv::getNumThreads();
    cv::setNumThreads(1);
    const std::optional<QByteArray> alone = writePng(image, true);
    cv::setNumThreads(8);
    const std::optional<QByteArray> shared = writePng(image, true);
    cv::setNumThreads(threads);
    ASSERT_TRUE(alone && shared);
    EXPECT_EQ(*alone, *shared);

    // A stop that never comes changes nothing; one given gives no file at all,
    // never a file cut short.
    std::atomic<bool> stop{false};
    EXPECT_EQ(writePng(image, true, 0, &stop), alone);
    stop = true;
    EXPECT_EQ(writePng(image, true, 0, &stop), std::nullopt);
}

TEST(PngWriter, RefusesAnEmptyImage)
{
    EXPECT_FALSE(writePng(Image(), true));
    EXPECT_FALSE(writePng(Image(), false));
}
