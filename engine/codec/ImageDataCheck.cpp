#include "engine/codec/ImageDataCheck.h"

#include "picturehead/Bytes.h"
#include "engine/codec/JpegScans.h"
#include "engine/codec/TiffLayout.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <tiff.h>

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

// How many pixel bytes one stored byte can stand for at best, by compression.
double tiffBestRatio(int compression, double rowBytes, double bitsPerPixel)
{
    switch (compression) {
    case COMPRESSION_NONE: return 1;
    case COMPRESSION_PACKBITS: return 64;      // 2 bytes for a run of 128
    case COMPRESSION_LZW: return kLzwBestPixelsPerByte;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return kDeflateBestRatio;
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4: return rowBytes * 8; // a bit a row at best
    case COMPRESSION_OJPEG:
    case COMPRESSION_JPEG: return 64 * bitsPerPixel; // a bit an 8 × 8 block (of its luma)
    default: return 1 << 16;                          // zstd, LZMA, ...: generously
    }
}

// The bytes of a strip or tile that code pixels: for a JPEG one, its scans
// alone (comment and APPn segments code none); none when it is cut off.
std::optional<double> codingBytes(QByteArrayView piece, int compression)
{
    if (compression != COMPRESSION_JPEG || !piece.startsWith("\xFF\xD8"))
        return double(piece.size());
    const std::optional<qint64> scans = jpegScanBytes(piece);
    return scans ? std::optional<double>(double(*scans)) : std::nullopt;
}

// The bytes the pixels take decoded, as libtiff lays them out: subsampled
// YCbCr stores each block of pixels as its luma samples and one pair of
// chroma samples (4:2:0 a byte and a half a pixel, 4:2:2 two), rows of blocks
// padded to whole bytes.
double tiffPixelBytes(const TiffLayout& tiff)
{
    const double bits = double(tiff.bitsPerSample) * tiff.samplesPerPixel;
    if (tiff.chromaAcross == 1 && tiff.chromaDown == 1)
        return std::ceil(double(tiff.width) * bits / 8) * double(tiff.height);
    const double block = double(tiff.chromaAcross) * tiff.chromaDown + 2;
    const double blocksAcross = std::ceil(double(tiff.width) / tiff.chromaAcross);
    const double blockRows = std::ceil(double(tiff.height) / tiff.chromaDown);
    return std::ceil(blocksAcross * block * tiff.bitsPerSample / 8) * blockRows;
}

bool tiffHoldsPixels(QByteArrayView bytes)
{
    // libtiff reads the sizes, whatever integer type the file stores them as:
    // read here as SHORT or LONG alone, a 16000 × 16000 claim in SLONG fields
    // went through unchecked.
    const std::optional<TiffLayout> tiff = tiffLayout(bytes);
    if (!tiff || tiff->pieces.empty() || tiff->colourMapMissing)
        return false;
    const Bytes file(bytes);
    double stored = 0;
    for (const TiffLayout::Piece& piece : tiff->pieces) {
        if (piece.offset > quint64(file.size()) || piece.bytes > quint64(file.size())
            || !file.has(qsizetype(piece.offset), qsizetype(piece.bytes)))
            return false; // picture data cut off
        const std::optional<double> coding =
            codingBytes(bytes.sliced(qsizetype(piece.offset), qsizetype(piece.bytes)), tiff->compression);
        if (!coding)
            return false;
        stored += *coding;
    }
    const double bits = double(tiff->bitsPerSample) * tiff->samplesPerPixel;
    const double rowBytes = std::ceil(double(tiff->width) * bits / 8);
    return stored * tiffBestRatio(tiff->compression, rowBytes, bits) >= tiffPixelBytes(*tiff);
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
        return tiffHoldsPixels(data);
    return true;
}

} // namespace zephrin
