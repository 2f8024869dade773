#pragma once
// The steps every picture reader of readImage shares: how a refusal and a
// picture are given back, what a decoded picture costs, and the finish each
// picture gets (scaled to the limits, converted to sRGB, premultiplied RGBA).
// Only the readers under engine/codec/ use it.

#include "engine/codec/ImageRead.h"

#include <QColorSpace>
#include <QImage>
#include <QRect>
#include <QSize>

namespace zephrin {

inline ImageRead failed(ReadFailure why) { return ImageRead{std::nullopt, why}; }

// The memory a decoded picture of this size and format takes, counted at no
// less than four bytes a pixel: narrower formats are widened to RGBA after.
qint64 pictureBytes(QSize size, QImage::Format format = QImage::Format_RGBA8888);

// Whether a canvas (a GIF's logical screen, an animated WebP's canvas) holds
// enough of the frames drawn on it to be a picture of the file: past a
// megapixel, no more than sixteen times the area they cover. A 16000 × 16000
// canvas around a frame of one pixel is a picture the file does not hold.
bool framesCoverCanvas(QSize canvas, QRect covered);
// The same for frames whose areas on the canvas add up to `coveredPixels`.
bool framesCoverCanvas(QSize canvas, qint64 coveredPixels);

// `picture` no larger than the limits say, converted from its colour space
// to sRGB when they ask for it, as premultiplied RGBA.
ImageRead finishedPicture(QImage picture, const ReadLimits& limits);

// The same for pixels that are premultiplied RGBA already, whose colours are
// in `profile` (none: sRGB). Copies nothing when nothing changes.
ImageRead finishedImage(Image image, const ReadLimits& limits, const QColorSpace& profile = {});

} // namespace zephrin
