#pragma once
// The headless road from one image file to one encoded cutout: load the picture
// upright, find the subject, refine it with the settings a fresh editor starts
// from, render and encode. Nothing is kept between calls: each cutout builds its
// own MatteEngine. The batch processor loads its files and cuts out its
// subjects here too, and reports its failures with the same sentences.

#include "engine/pixel/Image.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/MatteSettings.h"
#include "engine/types/MatteModel.h"
#include "engine/types/SentenceError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <optional>

namespace zephrin {
class MatteEngine;
}

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

// Image files larger than this are refused unread (2 GiB): more than the
// uncompressed bytes of the largest picture loadImage decodes.
inline constexpr qint64 kMaxImageFileBytes = qint64(2) << 30;

// How imageFileBytes fetches a file's bytes. `read` copies them, so the file can
// be closed at once. `mapped` maps them, so that a large file that turns out not
// to be an image costs no memory; they stay valid while the QFile lives, and a
// file cut short meanwhile by another program ends the process (SIGBUS), so
// mapping suits only a process of its own.
enum class FileAccess { read, mapped };

// Opens `file` and gives its bytes for loadImage. Empty when it is not a regular
// file (symbolic links resolved; a folder, a device or a pipe is never opened, so
// nothing blocks), cannot be opened or read, is empty or larger than
// kMaxImageFileBytes.
QByteArray imageFileBytes(QFile& file, FileAccess access);

// The upright picture in the image file at `path`, as loadImage gives it from the
// bytes imageFileBytes reads; the file is closed before anything is decoded.
std::optional<Image> loadImageFile(const QString& path);

// The subject of `image` found with `model`, refined with `settings` and
// rendered over the image's extent; empty when the render gives nothing.
// Throws Failure(noSubject) when matte making fails for any reason.
Image renderedCutout(const MatteEngine& engine, const Image& image, MatteModel model, const MatteSettings& settings);

// One complete cutout of `image`, encoded in `format` with its long edge at most
// `maxLongEdge` (0 or less: no limit). Without a model, IS-Net when its model is
// present and the classical subject finder otherwise. Throws Failure: noSubject
// when matte making fails for any reason, renderFailed, encodeFailed when the
// encoder fails for any reason.
QByteArray cutout(const Image& image, Format format, int maxLongEdge, std::optional<MatteModel> model = std::nullopt);

} // namespace zephrin::CutoutService
