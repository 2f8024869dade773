#include "engine/codec/ImageFormat.h"

#include "engine/codec/HeifReader.h"
#include "engine/codec/JpegReader.h"

#include <array>

namespace zephrin {

namespace {

using namespace Qt::StringLiterals;

constexpr std::array kPngExtensions{"png"_L1};
constexpr std::array kJpegExtensions{"jpg"_L1, "jpeg"_L1};
constexpr std::array kHeifExtensions{"heic"_L1, "heif"_L1};
constexpr std::array kAvifExtensions{"avif"_L1};
constexpr std::array kWebpExtensions{"webp"_L1};
constexpr std::array kTiffExtensions{"tif"_L1, "tiff"_L1};
constexpr std::array kBmpExtensions{"bmp"_L1};
constexpr std::array kGifExtensions{"gif"_L1};

constexpr std::array kFormats{
    ImportableFormat{ImageFileFormat::png, "image/png"_L1, kPngExtensions, "PNG"_L1},
    ImportableFormat{ImageFileFormat::jpeg, "image/jpeg"_L1, kJpegExtensions, "JPG"_L1},
    ImportableFormat{ImageFileFormat::heif, "image/heic"_L1, kHeifExtensions, "HEIC"_L1},
    // AVIF is a HEIF file of AV1 pictures: libheif reads both.
    ImportableFormat{ImageFileFormat::heif, "image/avif"_L1, kAvifExtensions, "AVIF"_L1},
    ImportableFormat{ImageFileFormat::webp, "image/webp"_L1, kWebpExtensions, "WebP"_L1},
    ImportableFormat{ImageFileFormat::tiff, "image/tiff"_L1, kTiffExtensions, "TIFF"_L1},
    ImportableFormat{ImageFileFormat::bmp, "image/bmp"_L1, kBmpExtensions, "BMP"_L1},
    ImportableFormat{ImageFileFormat::gif, "image/gif"_L1, kGifExtensions, "GIF"_L1},
};

bool startsWith(QByteArrayView bytes, QByteArrayView prefix, qsizetype at = 0)
{
    return bytes.size() >= at + prefix.size() && bytes.sliced(at, prefix.size()) == prefix;
}

} // namespace

std::span<const ImportableFormat> importableFormats() { return kFormats; }

std::optional<ImageFileFormat> sniffedFormat(QByteArrayView bytes)
{
    if (startsWith(bytes, "\x89PNG\r\n\x1A\n"))
        return ImageFileFormat::png;
    if (isJpeg(bytes))
        return ImageFileFormat::jpeg;
    if (startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a"))
        return ImageFileFormat::gif;
    if (startsWith(bytes, "RIFF") && startsWith(bytes, "WEBP", 8))
        return ImageFileFormat::webp;
    if (startsWith(bytes, QByteArrayView("II*\0", 4)) || startsWith(bytes, QByteArrayView("MM\0*", 4)))
        return ImageFileFormat::tiff;
    if (startsWith(bytes, "BM"))
        return ImageFileFormat::bmp;
    if (isHeif(bytes))
        return ImageFileFormat::heif;
    return std::nullopt;
}

} // namespace zephrin
