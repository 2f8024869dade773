#include "engine/codec/WebPEncoder.h"

#include "engine/pixel/ChannelTable.h"

#include <webp/encode.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace zephrin::WebPEncoder {

const char* sentence(EncodeErrorKind kind) noexcept
{
    switch (kind) {
    case EncodeErrorKind::bitmapFailed: return "Couldn't read the image pixels for WebP.";
    case EncodeErrorKind::encodeFailed: return "WebP encoding failed.";
    }
    return "WebP encoding failed.";
}

namespace {

// The working buffer: the image's pixels un-premultiplied by straightChannel into
// a new, unpadded RGBA buffer. The truncating rule is this encoder's own input
// contract, not the rounding of the pixel layer's unpremultiplied().
cv::Mat workingBuffer(const Image& image)
{
    static const auto table = [] {
        std::array<uchar, 256 * 256> t{};
        for (int alpha = 0; alpha < 256; ++alpha)
            for (int channel = 0; channel < 256; ++channel)
                t[size_t(alpha) * 256 + size_t(channel)] = straightChannel(uchar(channel), uchar(alpha));
        return t;
    }();
    return mapThroughChannelTable(image.pixels, table.data());
}

} // namespace

QByteArray encode(const Image& image, double quality)
{
    constexpr int maxSide = std::numeric_limits<int>::max() / 4;
    if (image.empty() || image.pixels.type() != CV_8UC4 || image.width() > maxSide)
        throw EncodeError(EncodeErrorKind::bitmapFailed);

    const cv::Mat rgba = workingBuffer(image);
    const int width = rgba.cols;
    const int height = rgba.rows;
    const int stride = 4 * width;

    uint8_t* output = nullptr;
    size_t size = 0;
    if (quality >= 99.5) {
        size = WebPEncodeLosslessRGBA(rgba.data, width, height, stride, &output);
    } else {
        // libwebp accepts 0 to 100 and does not reject NaN.
        const float q = std::isnan(quality) ? 0.f : float(std::clamp(quality, 0.0, 100.0));
        size = WebPEncodeRGBA(rgba.data, width, height, stride, q, &output);
    }
    if (size == 0 || output == nullptr) {
        WebPFree(output);
        throw EncodeError(EncodeErrorKind::encodeFailed);
    }
    QByteArray bytes(reinterpret_cast<const char*>(output), qsizetype(size));
    WebPFree(output);
    return bytes;
}

} // namespace zephrin::WebPEncoder
