#pragma once
// Reading an image file's bytes into an Image, within limits the caller sets for
// that one read: a picture the user opens may be large, a thumbnail or a font
// preview may not. Every limit is checked against the file's header before the
// pixels are allocated, and a file whose data cannot hold the pixels its header
// claims (cut short, or a few bytes claiming a huge picture) is refused unread.
// Qt's process-wide allocation limit is never changed: a read that the caller's
// limits allow hands the decoder a picture of the size the header announces.
//
// JPEG goes through libjpeg straight into the Image's buffer, at a reduced scale
// (M/8) when the picture is larger than asked; HEIC/HEIF through libheif; every
// other format through Qt's image readers.

#include "engine/pixel/Image.h"

#include <QByteArrayView>
#include <QSize>

#include <optional>

namespace zephrin {

struct ReadLimits {
    // The longer side of the result; larger pictures are scaled down to it,
    // aspect kept, with at least one pixel on each side.
    int maxLongEdge = 8192;
    // The most memory the decoded picture may take before it is scaled down:
    // four bytes a pixel (eight for 16-bit formats), plus the coefficient
    // buffer of a progressive JPEG. Beyond it the read fails as tooLarge.
    qint64 maxDecodeBytes = qint64(1) << 30;
    // Turn the picture upright by its orientation flag (JPEG Exif). HEIF
    // pictures always come upright.
    bool applyOrientation = true;
    // Convert from the file's colour space (an ICC profile) to sRGB; without,
    // the colours are taken as they are stored.
    bool convertToSRgb = true;

    friend bool operator==(const ReadLimits&, const ReadLimits&) = default;
};

enum class ReadFailure { unreadable, tooLarge };

struct ImageRead {
    std::optional<Image> image;                    // premultiplied RGBA, sRGB, origin (0, 0)
    ReadFailure failure = ReadFailure::unreadable; // why there is no image
};

// The first picture of `bytes`. Never throws.
ImageRead readImage(QByteArrayView bytes, const ReadLimits& limits);

// `size` scaled down (aspect kept, sides truncated as QSize::scaled does, never
// below one pixel) so that its longer side is at most `maxLongEdge`.
QSize boundedSize(QSize size, int maxLongEdge);

} // namespace zephrin
