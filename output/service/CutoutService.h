#pragma once
// The headless road from one image file to one encoded cutout: load the picture
// upright, find the subject, refine it with the settings a fresh editor starts
// from, render and encode. Nothing is kept between calls: each cutout builds its
// own MatteEngine. The batch processor loads its files and cuts out its
// subjects here too, and reports its failures with the same sentences.

#include "engine/codec/ImageRead.h"
#include "engine/pixel/Image.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/MatteSettings.h"
#include "engine/types/MatteModel.h"
#include "engine/types/SentenceError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <filesystem>
#include <optional>

namespace zephrin {
class MatteEngine;
}

namespace zephrin::CutoutService {

enum class FailureKind { unreadable, noSubject, renderFailed, encodeFailed, tooLarge };

const char* sentence(FailureKind kind) noexcept;

// A failure of the service: its kind's sentence, and why when that is known
// ("the file doesn't exist"), which what() joins to the sentence: "That image
// couldn't be read: the file doesn't exist." Two failures are equal when
// their kinds are.
class Failure final : public UserFacingError {
public:
    explicit Failure(FailureKind kind, const QString& reason = {});

    FailureKind kind() const noexcept { return m_kind; }
    // The end of a sentence, without a full stop; empty when the kind's
    // sentence is all there is to say.
    const QString& reason() const noexcept { return m_reason; }
    const char* what() const noexcept override { return m_text.constData(); }

    friend bool operator==(const Failure& a, const Failure& b) noexcept { return a.m_kind == b.m_kind; }

private:
    FailureKind m_kind;
    QString m_reason;
    QByteArray m_text;
};

// The formats the service writes; WebP and SVG are not offered here.
enum class Format { png, jpeg, heic };

ExportFormat exportFormat(Format format);

// The longer side a loaded image is limited to.
inline constexpr int kMaxLoadedLongEdge = 8192;

// How far loading one picture may go: scaled to kMaxLoadedLongEdge, and at most
// 1 GiB for the picture as its decoder yields it. A JPEG decodes at the
// smallest eighth of its size (1/8 to 7/8) that still covers the long edge and
// a PNG of 8-bit RGB(A) or of 16-bit rows that are not interlaced is scaled
// row by row (16-bit ones as 8-bit), so both fit at any size; other pictures
// decode whole first, 16384 × 16384 8-bit pixels at the most.
inline constexpr ReadLimits kLoadLimits{kMaxLoadedLongEdge, qint64(1) << 30, true, true};

// The decoded, upright picture in an image file's bytes (the formats of
// ImageFormat.h: PNG, JPEG, HEIC/HEIF, WebP, TIFF, BMP, GIF; nothing else is
// decoded, SVG included): orientation flags applied, scaled
// down (aspect kept, at least one pixel each side) so that its longer side is
// at most kMaxLoadedLongEdge, converted to sRGB. Throws Failure: tooLarge when
// the picture would pass kLoadLimits (checked before anything is decoded),
// unreadable for anything else that gives no picture, with the reason: not a
// picture of those formats, or damaged (cut off, data too short for the size
// its header claims, a decoder's complaint).
Image decodeUpright(QByteArrayView encoded);

// The same picture, or nothing where decodeUpright throws. Never throws.
std::optional<Image> loadImage(QByteArrayView encoded);

// Throws what decodeUpright would throw before it decodes a pixel (the format,
// the header, the data's floor, kLoadLimits); returns when it would decode.
// Lets a caller start other costly work (loading the network) only for a
// picture that will be decoded.
void checkHeader(QByteArrayView encoded);

// Throws what decodeUpright would throw for any file that starts with `head`
// (its first kImageHeadBytes, ImageHead.h), whatever follows; returns when the
// rest is to be read.
void checkHead(QByteArrayView head);

// Image files larger than this are refused unread (2 GiB): more than the
// uncompressed bytes of the largest picture loadImage decodes.
inline constexpr qint64 kMaxImageFileBytes = qint64(2) << 30;

// The bytes of the image file at `path` (any name the file system holds, see
// NativePath.h), read as regularFileBytes reads them (RegularFileBytes.h: a
// regular file only, never waiting, copied). Throws Failure with the reason
// when there are none: tooLarge past kMaxImageFileBytes, unreadable for a
// file that is missing, a folder, no regular file, empty, or not to be read,
// and for one that checkHead refuses, read no further than its head.
QByteArray imageFile(const std::filesystem::path& path);

// The same bytes, or none where imageFile would throw; a file whose head
// imageHeadRefused refuses is read no further than that head.
QByteArray imageFileBytes(const std::filesystem::path& path);

// decodeUpright of imageFile(path); the file is closed before anything is
// decoded.
Image decodeUprightFile(const std::filesystem::path& path);

// The same picture, or nothing where decodeUprightFile throws.
std::optional<Image> loadImageFile(const std::filesystem::path& path);

// The refinement of a fresh editor, fixed here so that a change of the editor's
// defaults does not change what automation produces.
inline constexpr MatteSettings kCutoutSettings{
    .fillHoles = false,
    .edgeMode = EdgeRefineMode::smooth,
    .feather = 0.6,
    .decontaminateEnabled = true,
    .decontaminate = 30.0,
};

// The subject of `image` found with `model`, refined with `settings` and
// rendered over the image's extent; empty when the render gives nothing.
// Throws Failure(noSubject) when matte making fails for any reason, and when the
// rendered cutout has no subject to show: fewer than 16 pixels at least an
// eighth opaque.
Image renderedCutout(const MatteEngine& engine, const Image& image, MatteModel model, const MatteSettings& settings);

// One complete cutout of `image`, encoded in `format` with its long edge at most
// `maxLongEdge` (0 or less: no limit). Without a model, IS-Net when its model is
// present and the classical subject finder otherwise. Throws Failure: noSubject
// when matte making fails for any reason, renderFailed, encodeFailed when the
// encoder fails for any reason.
QByteArray cutout(const Image& image, Format format, int maxLongEdge, std::optional<MatteModel> model = std::nullopt);

} // namespace zephrin::CutoutService
