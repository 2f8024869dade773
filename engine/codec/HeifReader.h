#pragma once
// HEIC/HEIF files through libheif (Qt has no reader for them).

#include <QByteArrayView>
#include <QImage>

#include <optional>

namespace zephrin {

// Whether the bytes start like a HEIF file of pictures libheif decodes here
// (heifNamesReadBrand).
bool isHeif(QByteArrayView bytes);

// The size of the primary image as its header gives it, turned as it is
// shown; nothing when libheif cannot parse the file, or when the primary image
// is a grid or an overlay whose own size is not the size its 'ispe' property
// says (libheif would decode it at the former), or whose alpha plane libheif
// would leave out (its size property damaged), or one of whose HEVC
// parameter sets libde265 would complain of on the terminal or codes a
// picture larger than the primary image (HeifBoxes.h).
std::optional<QSize> heifSize(QByteArrayView bytes);

// The primary image, its rotation and mirroring applied, as
// RGBA8888_Premultiplied over libheif's own buffer (no copy of it is made),
// with the file's colour space attached (an ICC profile, or Display P3
// signalled by its code points; untagged means sRGB). Nothing when the file
// cannot be decoded, when heifSize gives nothing or more than `maxPixels`
// pixels (checked before any pixel is decoded), and when the decoded picture
// is not of that size. libheif's own size limit holds every image
// it puts together to the primary image's longest side (and the margin of
// whole coded blocks). HEVC pictures are decoded by HeifHevcDecoder.h: one
// its data leaves partly undecoded, or that libde265 warns of, is nothing.
std::optional<QImage> readHeif(QByteArrayView bytes, qint64 maxPixels);

} // namespace zephrin
