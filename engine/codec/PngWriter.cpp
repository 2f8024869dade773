#include "engine/codec/PngWriter.h"

#include "engine/pixel/Premultiply.h"

#include <png.h>
#include <zlib.h>

#include <vector>

namespace zephrin {

namespace {

[[noreturn]] void failQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void ignoreWarning(png_structp, png_const_charp) {}

void appendToBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void flushNothing(png_structp) {}

// The libpng calls proper. libpng reports errors by longjmp, so nothing in this
// frame may have a destructor; the caller owns the rows and the output.
bool encode(png_structp png, png_infop info, int width, int height, bool keepAlpha, int pixelsPerMetre,
            png_bytepp rows, QByteArray* output)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, output, appendToBytes, flushNothing);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 keepAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_sRGB_gAMA_and_cHRM(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    if (pixelsPerMetre > 0)
        png_set_pHYs(png, info, png_uint_32(pixelsPerMetre), png_uint_32(pixelsPerMetre), PNG_RESOLUTION_METER);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_PAETH);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    if (!keepAlpha)
        png_set_filler(png, 0, PNG_FILLER_AFTER); // rows are RGBX: drop the fourth byte
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::optional<QByteArray> writePng(const Image& rendered, bool keepAlpha, int pixelsPerMetre)
{
    if (rendered.empty() || rendered.pixels.type() != CV_8UC4)
        return std::nullopt;
    // Opaque pixels are their own straight colour.
    const cv::Mat straight = keepAlpha ? unpremultiplied(rendered) : rendered.pixels;
    std::vector<png_bytep> rows(size_t(straight.rows));
    for (int y = 0; y < straight.rows; ++y)
        rows[size_t(y)] = const_cast<png_bytep>(straight.ptr<png_byte>(y));

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    QByteArray bytes;
    const bool written = info && encode(png, info, straight.cols, straight.rows, keepAlpha, pixelsPerMetre, rows.data(), &bytes);
    png_destroy_write_struct(&png, &info);
    if (!written)
        return std::nullopt;
    return bytes;
}

} // namespace zephrin
