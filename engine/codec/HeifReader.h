#pragma once
// HEIC/HEIF files through libheif (Qt has no reader for them).

#include <QByteArrayView>
#include <QImage>

#include <optional>

namespace zephrin {

// Whether the bytes start like a HEIF file that libheif can decode.
bool isHeif(QByteArrayView bytes);

// The size of the primary image as its header gives it (before rotation);
// nothing when libheif cannot parse the file.
std::optional<QSize> heifSize(QByteArrayView bytes);

// The primary image, its rotation and mirroring applied, as RGBA8888 (straight)
// or RGBA8888_Premultiplied when the file stores premultiplied alpha, with the
// file's colour space attached (an ICC profile, or Display P3 signalled by its
// code points; untagged means sRGB). Nothing when the file cannot be decoded or
// when its header claims more than `maxPixels` pixels, which is checked before
// any pixel is decoded.
std::optional<QImage> readHeif(QByteArrayView bytes, qint64 maxPixels);

} // namespace zephrin
