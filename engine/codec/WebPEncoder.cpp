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

    // The one-call functions' settings (default preset; lossless at quality
    // 70, lossy at the given one), plus threads.
    const bool lossless = quality >= 99.5;
    // libwebp accepts 0 to 100 and does not reject NaN.
    const float lossyQuality = std::isnan(quality) ? 0.f : float(std::clamp(quality, 0.0, 100.0));
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigPreset(&config, WEBP_PRESET_DEFAULT, lossless ? 70.f : lossyQuality) || !WebPPictureInit(&picture))
        throw EncodeError(EncodeErrorKind::encodeFailed);
    config.lossless = lossless ? 1 : 0;
    config.thread_level = 1;
    picture.use_argb = lossless ? 1 : 0;
    picture.width = width;
    picture.height = height;
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    const bool encoded = WebPPictureImportRGBA(&picture, rgba.data, stride) && WebPEncode(&config, &picture);
    WebPPictureFree(&picture);
    if (!encoded || writer.size == 0) {
        WebPMemoryWriterClear(&writer);
        throw EncodeError(EncodeErrorKind::encodeFailed);
    }
    QByteArray bytes(reinterpret_cast<const char*>(writer.mem), qsizetype(writer.size));
    WebPMemoryWriterClear(&writer);
    return bytes;
}

} // namespace zephrin::WebPEncoder
