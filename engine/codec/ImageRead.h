#pragma once
// Reading an image file's bytes into an Image, within limits the caller sets for
// that one read: a picture the user opens may be large, a thumbnail or a font
// preview may not. Only the formats of ImageFormat.h are read, known by their
// first bytes; anything else (SVG, which could draw other files, XPM, PNM,
// icons) is refused unread. Every limit is checked against the file's header
// before the pixels are allocated, and a file whose data cannot hold the pixels
// its header claims (cut short, or a few bytes claiming a huge picture) is
// refused unread. Qt's process-wide allocation limit is never changed: a read
// that the caller's limits allow hands Qt's reader a picture of the size the
// header announces.
//
// JPEG goes through libjpeg straight into the Image's buffer, at a reduced scale
// (M/8) when the picture is larger than asked; PNG through libpng, 8-bit colour
// rows and 16-bit ones scaled as they are read; HEIC/HEIF and AVIF through
// libheif; WebP through libwebp, scaled while it decodes; GIF through a decoder
// of our own; BMP and TIFF through Qt's readers. What the libraries say goes to the log, never to the
// terminal (LibraryMessages.h), and a read gives the pixels of the file or
// nothing: no picture is made up where the data holds none.

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
    // Turn the picture upright by its orientation flag (the Exif block of a
    // JPEG, PNG or WebP, a TIFF's orientation tag). HEIF pictures always come
    // upright.
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

// Why readImage would refuse `bytes` before decoding a pixel: a format it does
// not read, a header it cannot parse, data too short for the picture claimed,
// a picture past `limits`. None when the header is accepted (the data may still
// turn out damaged). Cheap: nothing is decoded. Never throws.
std::optional<ReadFailure> headerRefusal(QByteArrayView bytes, const ReadLimits& limits);

// Keeps what the image libraries say off standard error, at every level: Qt's
// image readers' messages (libpng's among them) and its colour-profile
// reader's, and libtiff's and those of Qt's image classes during a decode,
// which go to "zephrin.imageio" (LibraryMessages.h).
// A program calls it once at its start. They stay available to
// QT_LOGGING_RULES, e.g. "qt.gui.imageio*=true;zephrin.imageio*=true".
void quietImageReaderWarnings();

// `size` scaled down (aspect kept, sides truncated as QSize::scaled does, never
// below one pixel) so that its longer side is at most `maxLongEdge`.
QSize boundedSize(QSize size, int maxLongEdge);

} // namespace zephrin
