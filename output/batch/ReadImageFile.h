#pragma once
// Reads the picture in an image file, for the batch: the file is opened, read
// whole and closed again before anything is decoded, so it is held no longer
// than the read takes.

#include "engine/pixel/Image.h"

#include <QString>

#include <optional>

namespace zephrin {

// Files larger than this are refused unread (2 GiB): more than the uncompressed
// bytes of the largest picture the loader decodes.
inline constexpr qint64 kMaxImageFileBytes = qint64(2) << 30;

// The upright picture in the file at `path`, as CutoutService::loadImage gives
// it. Nothing when the path is not a regular file (a folder, a device, a pipe:
// none of them is opened, so nothing blocks), cannot be opened, is empty or
// larger than kMaxImageFileBytes, or holds no image that decodes.
std::optional<Image> readImageFile(const QString& path);

} // namespace zephrin
