#pragma once
// The picture formats Zephrin reads, and nothing else: a file is known by its
// first bytes, never by its name, and one that starts like none of these (SVG,
// which may name other files to draw; XPM, PNM and icon formats, whose data
// nobody checks) is not handed to any decoder.

#include <QByteArrayView>
#include <QLatin1StringView>

#include <optional>
#include <span>

namespace zephrin {

enum class ImageFileFormat { png, jpeg, heif, webp, tiff, bmp, gif };

struct ImportableFormat {
    ImageFileFormat format;
    QLatin1StringView mimeType;
    std::span<const QLatin1StringView> extensions; // lower case, without the dot
    QLatin1StringView name;                        // as people call it: "JPG", "WebP"
};

// Every format read, in the order file dialogs list them. A format may stand
// in more than one entry (HEIC and AVIF both go to the HEIF reader).
std::span<const ImportableFormat> importableFormats();

// The format whose signature starts `bytes`; none for anything else.
std::optional<ImageFileFormat> sniffedFormat(QByteArrayView bytes);

} // namespace zephrin
