#pragma once
// The picture work of My Backgrounds, run on a worker thread: the stored JPEG
// (longer side at most 4096, quality 0.92), its 360 × 240 thumbnail (quality
// 0.8), and the fingerprint that tells two pictures apart.
//
// JPEG has no transparency, so pictures are flattened on white first: a cutout
// keeps its look instead of turning black where it was clear.

#include "engine/pixel/Image.h"

#include <QString>

#include <optional>

namespace zephrin {

inline constexpr int kStoredLongSide = 4096;
inline constexpr int kBackgroundThumbWidth = 360;
inline constexpr int kBackgroundThumbHeight = 240;

// 16 hex digits of a 64-bit hash of the size and every pixel. Repeatable across
// runs and machines. Cost: one parallel pass over the pixels.
QString pictureFingerprint(const Image& picture);

// The picture scaled by 4096 / longer side when that side is longer (sizes
// truncated, at least 1; Lanczos, every source pixel counts); otherwise the
// picture itself.
Image reducedForStorage(const Image& picture);

// The picture scaled to fill 360 × 240 (by the larger of 360 / width and
// 240 / height) and centred, so the overflow is cut equally from both ends.
Image backgroundThumbnail(const Image& picture);

// The picture laid over opaque white: what was clear becomes white.
Image flattenedOnWhite(const Image& picture);

// Writes the image, flattened on white, as a JPEG of quality 0 to 100 through
// an atomic save. False when it could not be written.
bool writeJpeg(const Image& image, const QString& path, int quality);

// Stores the picture and its thumbnail. Yields the stored picture's size in
// bytes (0 when unreadable), or none when the picture could not be written;
// a thumbnail that can't be written is left out.
std::optional<qint64> writeBackgroundFiles(const Image& picture, const QString& imagePath,
                                           const QString& thumbPath);

} // namespace zephrin
