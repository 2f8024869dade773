#pragma once
// WebP exports through libwebp: the settings of its one-call encoder, run on
// more than one thread.

#include "engine/pixel/Image.h"
#include "engine/types/SentenceError.h"

#include <QByteArray>

namespace zephrin::WebPEncoder {

enum class EncodeErrorKind { bitmapFailed, encodeFailed };

const char* sentence(EncodeErrorKind kind) noexcept;

using EncodeError = SentenceError<EncodeErrorKind>;

// The WebP file of a rendered image (CV_8UC4 premultiplied RGBA, sRGB; its
// origin is ignored). Quality is on the 0 to 100 scale: 99.5 and above encodes
// losslessly, anything lower lossy at that quality. libwebp receives straight
// RGBA, un-premultiplied by truncation: c × 255 / a, at most 255, for 0 < a < 255.
// Throws bitmapFailed for an empty image and encodeFailed when libwebp gives no
// output (for example a side beyond WebP's 16383-pixel limit).
// Cost: one extra w × h × 4 working copy plus libwebp's output buffer.
QByteArray encode(const Image& image, double quality);

// The straight colour libwebp is given for one premultiplied pixel channel.
constexpr uchar straightChannel(uchar premultiplied, uchar alpha)
{
    if (alpha == 0 || alpha == 255)
        return premultiplied;
    const int straight = premultiplied * 255 / alpha;
    return uchar(straight > 255 ? 255 : straight);
}

} // namespace zephrin::WebPEncoder
