#pragma once
// Decoding downloaded and stored pictures (the formats readImage reads, known
// by their first bytes: PNG, JPEG, HEIC/HEIF, AVIF, WebP, TIFF, BMP, GIF;
// never SVG) into premultiplied RGBA: the first image of the data,
// colours as stored, without orientation. Each use reads within limits of its
// own, so that a file claiming a huge picture costs no more than a real one of
// that use: larger pictures are scaled down (a JPEG while it decodes) and those
// past the memory limit are refused.

#include "engine/codec/ImageRead.h"
#include "engine/pixel/Image.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zephrin {

// Grid thumbnails and font previews.
inline constexpr ReadLimits kThumbnailLimits{2048, qint64(32) << 20, false, false};
// Pictures placed behind a subject: backdrop photos, saved backgrounds.
inline constexpr ReadLimits kPictureLimits{8192, qint64(256) << 20, false, false};

// Nothing when the data is not a picture, is damaged or passes the limits.
std::optional<Image> decodeImage(const QByteArray& data, const ReadLimits& limits);

// The same for a file; nothing also when it is missing, no regular file (a
// pipe is never opened), unreadable or larger than any picture file of these
// uses (256 MiB).
std::optional<Image> readImageFile(const QString& path, const ReadLimits& limits);

} // namespace zephrin
