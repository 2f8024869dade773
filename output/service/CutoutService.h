#pragma once
// The headless road from one image file to one encoded cutout: load the picture
// upright, find the subject, refine it with the settings a fresh editor starts
// from, render and encode. Nothing is kept between calls: each cutout builds its
// own MatteEngine. The batch processor loads its files here too and reports its
// failures with the same sentences.

#include "engine/pixel/Image.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/MatteModel.h"
#include "engine/types/SentenceError.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace zephrin::CutoutService {

enum class FailureKind { unreadable, noSubject, renderFailed, encodeFailed };

const char* sentence(FailureKind kind) noexcept;

using Failure = SentenceError<FailureKind>;

// The formats the service writes; WebP and SVG are not offered here.
enum class Format { png, jpeg, heic };

ExportFormat exportFormat(Format format);

// The longer side a loaded image is limited to.
inline constexpr int kMaxLoadedLongEdge = 8192;

// The decoded, upright picture in an image file's bytes (PNG, JPEG, HEIC/HEIF
// and whatever else Qt's image readers know): orientation flags applied, scaled
// down (aspect kept) so that its longer side is at most kMaxLoadedLongEdge,
// converted to sRGB. Nothing when the bytes are not a readable image, when a JPEG
// is cut off before its end, or when the header claims an absurd size (more than
// 16384 × 16384 pixels), which is refused before anything is decoded. Never throws.
std::optional<Image> loadImage(QByteArrayView encoded);

// One complete cutout of `image`, encoded in `format` with its long edge at most
// `maxLongEdge` (0 or less: no limit). Without a model, IS-Net when its model is
// present and the classical subject finder otherwise. Throws Failure: noSubject
// when matte making fails for any reason, renderFailed, encodeFailed when the
// encoder fails for any reason.
QByteArray cutout(const Image& image, Format format, int maxLongEdge, std::optional<MatteModel> model = std::nullopt);

} // namespace zephrin::CutoutService
