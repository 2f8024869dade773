#include "engine/codec/ImageDataCheck.h"

#include "engine/codec/Bytes.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace zephrin {

namespace {

constexpr double kLzwBestPixelsPerByte = 4096.0 * 8 / 12; // a 12-bit code of 4096 bytes

// ---- PNG --------------------------------------------------------------------

constexpr char kPngSignature[] = "\x89PNG\r\n\x1A\n";
constexpr qsizetype kPngSignatureLength = 8;
constexpr double kDeflateBestRatio = 1032; // a 258-byte match in two 1-bit codes

bool pngHoldsPixels(const Bytes& png)
{
    const std::optional<quint32> width = png.big32(16);
    const std::optional<quint32> height = png.big32(20);
    const int depth = png.byte(24);
    const int colorType = png.byte(25);
    if (!width || !height || depth < 0)
        return false;
    int channels = 0;
    switch (colorType) {
    case 0: channels = 1; break;
    case 2: channels = 3; break;
    case 3: channels = 1; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: return true; // libpng refuses it
    }

    double idat = 0;
    for (qsizetype at = kPngSignatureLength; png.has(at, 8);) {
        const quint32 length = *png.big32(at);
        const bool isIdat = png.byte(at + 4) == 'I' && png.byte(at + 5) == 'D' && png.byte(at + 6) == 'A'
                            && png.byte(at + 7) == 'T';
        const bool isEnd = png.byte(at + 4) == 'I' && png.byte(at + 5) == 'E' && png.byte(at + 6) == 'N'
                           && png.byte(at + 7) == 'D';
        const qsizetype next = at + 12 + qsizetype(length);
        if (isIdat) {
            if (length > quint32(png.size()) || !png.has(at, 12 + qsizetype(length)))
                return false; // picture data cut off
            idat += length;
        }
        if (isEnd || length > quint32(png.size()))
            break;
        at = next;
    }
    const double rowBytes = std::ceil(double(*width) * channels * depth / 8);
    return idat * kDeflateBestRatio >= double(*height) * (1 + rowBytes);
}

// ---- BMP --------------------------------------------------------------------

enum BmpCompression : quint32 { bmpRgb = 0, bmpRle8 = 1, bmpRle4 = 2, bmpBitfields = 3, bmpAlphaBitfields = 6 };

// Run-length data must code every pixel of every row, followed as a decoder
// follows it: a run or a literal codes pixels only up to its row's end (a
// decoder clips the rest), an end of line moves to the next row, a jump moves
// right and down over pixels it codes none of, and the end of the bitmap ends
// it. Pixels it never reaches would be invented.
bool rleCodesAllPixels(const Bytes& bmp, qsizetype at, qint64 width, qint64 height, bool fourBit)
{
    qint64 x = 0;
    qint64 y = 0;
    qint64 coded = 0;
    const qint64 pixels = width * height;
    const auto code = [&](qint64 count) {
        const qint64 written = std::min(count, width - x);
        coded += written;
        x += written;
    };
    while (coded < pixels && y < height) {
        const int count = bmp.byte(at);
        const int value = bmp.byte(at + 1);
        if (count < 0 || value < 0)
            return false;
        at += 2;
        if (count > 0) {
            code(count); // a run of `count` pixels of one value
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: return false; // end of bitmap
        case 2: {             // a jump
            const int right = bmp.byte(at);
            const int down = bmp.byte(at + 1);
            if (right < 0 || down < 0)
                return false;
            at += 2;
            x = std::min(width, x + right);
            y += down;
            break;
        }
        default: { // `value` literal pixels, padded to a whole 16-bit word
            const qsizetype length = fourBit ? (value + 1) / 2 : value;
            at += length + (length & 1);
            code(value);
            break;
        }
        }
    }
    return coded >= pixels;
}

bool bmpHoldsPixels(const Bytes& bmp)
{
    const std::optional<quint32> offset = bmp.little32(10);
    const std::optional<quint32> headerSize = bmp.little32(14);
    if (!offset || !headerSize)
        return false;
    qint64 width = 0;
    qint64 height = 0;
    std::optional<quint32> bits;
    std::optional<quint32> compression = bmpRgb;
    if (*headerSize == 12) {
        width = bmp.little16(18).value_or(0);
        height = bmp.little16(20).value_or(0);
        bits = bmp.little16(24);
    } else if (*headerSize >= 40) {
        width = qint32(bmp.little32(18).value_or(0));
        height = qint32(bmp.little32(22).value_or(0));
        bits = bmp.little16(28);
        compression = bmp.little32(30);
    } else {
        return true;
    }
    if (!bits || !compression)
        return false;
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0)
        return true; // Qt refuses it
    if (qint64(*offset) > bmp.size())
        return false;

    switch (*compression) {
    case bmpRgb:
    case bmpBitfields:
    case bmpAlphaBitfields: {
        const double rowBits = double(width) * *bits;
        const double stride = std::floor((rowBits + 31) / 32) * 4;
        // The last row's padding may be left out.
        return double(bmp.size() - *offset) >= stride * double(height - 1) + std::ceil(rowBits / 8);
    }
    case bmpRle8: return rleCodesAllPixels(bmp, *offset, width, height, false);
    case bmpRle4: return rleCodesAllPixels(bmp, *offset, width, height, true);
    default: return true;
    }
}

// ---- TIFF -------------------------------------------------------------------

enum TiffTag : quint32 {
    tiffWidth = 256,
    tiffHeight = 257,
    tiffBitsPerSample = 258,
    tiffCompression = 259,
    tiffStripOffsets = 273,
    tiffSamplesPerPixel = 277,
    tiffStripByteCounts = 279,
    tiffTileOffsets = 324,
    tiffTileByteCounts = 325,
};

// How many pixel bytes one stored byte can stand for at best, by compression.
double tiffBestRatio(quint32 compression, double rowBytes, double bitsPerPixel)
{
    switch (compression) {
    case 1: return 1;                      // none
    case 32773: return 64;                 // PackBits: 2 bytes for a run of 128
    case 5: return kLzwBestPixelsPerByte;  // LZW: 12-bit codes of 4096 bytes
    case 8:
    case 32946: return kDeflateBestRatio;  // Deflate
    case 2:
    case 3:
    case 4: return rowBytes * 8;           // CCITT fax: a bit a row at best
    case 6:
    case 7: return 64 * bitsPerPixel;      // JPEG: a bit an 8 × 8 block (of its luma)
    default: return 1 << 16;               // zstd, LZMA, ...: generously
    }
}

bool tiffHoldsPixels(const Bytes& tiff)
{
    const bool big = tiff.byte(0) == 'M';
    const auto read16 = [&](qsizetype at) { return big ? tiff.big16(at) : tiff.little16(at); };
    const auto read32 = [&](qsizetype at) { return big ? tiff.big32(at) : tiff.little32(at); };
    const std::optional<quint32> directory = read32(4);
    const std::optional<quint32> entries = directory ? read16(*directory) : std::nullopt;
    if (!entries)
        return false;

    // Each field of the first directory: its values, SHORT or LONG, stored in
    // the entry or where it points.
    const auto values = [&](quint32 wanted) -> std::optional<std::vector<quint32>> {
        for (quint32 i = 0; i < *entries; ++i) {
            const qsizetype entry = qsizetype(*directory) + 2 + 12 * qsizetype(i);
            if (read16(entry) != wanted)
                continue;
            const std::optional<quint32> type = read16(entry + 2);
            const std::optional<quint32> count = read32(entry + 4);
            if (!type || !count || (*type != 3 && *type != 4) || *count > quint32(tiff.size()))
                return std::nullopt;
            const qsizetype size = *type == 3 ? 2 : 4;
            qsizetype at = entry + 8;
            if (size * *count > 4) {
                const std::optional<quint32> offset = read32(entry + 8);
                if (!offset)
                    return std::nullopt;
                at = *offset;
            }
            std::vector<quint32> result;
            for (quint32 n = 0; n < *count; ++n) {
                const std::optional<quint32> value = size == 2 ? read16(at + 2 * n) : read32(at + 4 * n);
                if (!value)
                    return std::nullopt;
                result.push_back(*value);
            }
            return result;
        }
        return std::vector<quint32>();
    };
    const auto first = [](const std::optional<std::vector<quint32>>& list, quint32 fallback) {
        return list && !list->empty() ? list->front() : fallback;
    };
    const double width = first(values(tiffWidth), 0);
    const double height = first(values(tiffHeight), 0);
    if (width <= 0 || height <= 0)
        return true; // libtiff refuses it
    const double bits = first(values(tiffBitsPerSample), 1) * double(first(values(tiffSamplesPerPixel), 1));
    const quint32 compression = first(values(tiffCompression), 1);

    std::optional<std::vector<quint32>> offsets = values(tiffStripOffsets);
    std::optional<std::vector<quint32>> counts = values(tiffStripByteCounts);
    if (offsets && offsets->empty()) {
        offsets = values(tiffTileOffsets);
        counts = values(tiffTileByteCounts);
    }
    if (!offsets || !counts || offsets->empty() || offsets->size() != counts->size())
        return false;
    double stored = 0;
    for (size_t i = 0; i < offsets->size(); ++i) {
        if (!tiff.has((*offsets)[i], (*counts)[i]))
            return false; // picture data cut off
        stored += (*counts)[i];
    }
    const double rowBytes = std::ceil(width * bits / 8);
    return stored * tiffBestRatio(compression, rowBytes, bits) >= rowBytes * height;
}

} // namespace

bool holdsClaimedPixels(QByteArrayView data)
{
    const Bytes bytes(data);
    if (bytes.startsWith(kPngSignature))
        return pngHoldsPixels(bytes);
    if (bytes.startsWith("BM"))
        return bmpHoldsPixels(bytes);
    if (bytes.startsWith("II*") || bytes.startsWith("MM"))
        return tiffHoldsPixels(bytes);
    return true;
}

} // namespace zephrin
