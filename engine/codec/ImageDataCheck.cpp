#include "engine/codec/ImageDataCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

namespace zephrin {

namespace {

// Reads of fixed-size numbers that say when they would pass the end.
class Bytes {
public:
    explicit Bytes(QByteArrayView data) : m_data(data) {}

    qsizetype size() const { return m_data.size(); }
    bool has(qsizetype at, qsizetype count) const { return at >= 0 && count >= 0 && at <= size() - count; }
    bool startsWith(const char* text) const
    {
        const auto length = qsizetype(std::strlen(text));
        return has(0, length) && std::memcmp(m_data.data(), text, size_t(length)) == 0;
    }
    int byte(qsizetype at) const { return has(at, 1) ? quint8(m_data[at]) : -1; }
    std::optional<quint32> big32(qsizetype at) const { return number(at, 4, true); }
    std::optional<quint32> little16(qsizetype at) const { return number(at, 2, false); }
    std::optional<quint32> little32(qsizetype at) const { return number(at, 4, false); }

private:
    std::optional<quint32> number(qsizetype at, int length, bool bigEndian) const
    {
        if (!has(at, length))
            return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < length; ++i)
            value = (value << 8) | quint8(m_data[at + (bigEndian ? i : length - 1 - i)]);
        return value;
    }

    QByteArrayView m_data;
};

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

// ---- GIF --------------------------------------------------------------------

constexpr double kLzwBestPixelsPerByte = 4096.0 * 8 / 12; // a 12-bit code of 4096 pixels

// The total length of the data sub-blocks from `at`, and where they end; none
// when the file ends before their terminator.
std::optional<std::pair<qint64, qsizetype>> subBlocks(const Bytes& gif, qsizetype at)
{
    qint64 total = 0;
    while (true) {
        const int size = gif.byte(at);
        if (size < 0)
            return std::nullopt;
        if (size == 0)
            return std::pair{total, at + 1};
        if (!gif.has(at + 1, size))
            return std::nullopt;
        total += size;
        at += 1 + size;
    }
}

qsizetype colourTableLength(int flags) { return (flags & 0x80) ? 3 * (qsizetype(2) << (flags & 7)) : 0; }

bool gifHoldsPixels(const Bytes& gif)
{
    const int screenFlags = gif.byte(10);
    if (screenFlags < 0)
        return false;
    qsizetype at = 13 + colourTableLength(screenFlags);
    while (true) {
        switch (gif.byte(at)) {
        case -1: return false; // ends before its first frame
        case 0x21: {           // extension: label, then data sub-blocks
            const auto blocks = subBlocks(gif, at + 2);
            if (!blocks)
                return false;
            at = blocks->second;
            break;
        }
        case 0x2C: { // the first frame
            const std::optional<quint32> width = gif.little16(at + 5);
            const std::optional<quint32> height = gif.little16(at + 7);
            const int flags = gif.byte(at + 9);
            if (!width || !height || flags < 0)
                return false;
            const qsizetype data = at + 10 + colourTableLength(flags) + 1; // after the LZW code size
            const auto lzw = subBlocks(gif, data);
            if (!lzw)
                return false;
            return double(lzw->first) * kLzwBestPixelsPerByte >= double(*width) * double(*height);
        }
        default: return true; // a trailer or an unknown block: Qt decides
        }
    }
}

// ---- BMP --------------------------------------------------------------------

enum BmpCompression : quint32 { bmpRgb = 0, bmpRle8 = 1, bmpRle4 = 2, bmpBitfields = 3, bmpAlphaBitfields = 6 };

// Run-length data must reach the last row: an end-of-line escape moves one
// row down, a delta escape as many as it says, end-of-bitmap ends it.
bool rleReachesLastRow(const Bytes& bmp, qsizetype at, qint64 rows, bool fourBit)
{
    qint64 row = 0;
    while (row < rows) {
        const int count = bmp.byte(at);
        const int value = bmp.byte(at + 1);
        if (count < 0 || value < 0)
            return false;
        at += 2;
        if (count > 0)
            continue; // a run of `count` pixels of one value
        switch (value) {
        case 0: ++row; break;
        case 1: return row >= rows - 1;
        case 2: {
            const int dy = bmp.byte(at + 1);
            if (dy < 0)
                return false;
            row += dy;
            at += 2;
            break;
        }
        default: { // `value` literal pixels, padded to a whole 16-bit word
            const qsizetype length = fourBit ? (value + 1) / 2 : value;
            at += length + (length & 1);
            break;
        }
        }
    }
    return true;
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
    case bmpRle8: return rleReachesLastRow(bmp, *offset, height, false);
    case bmpRle4: return rleReachesLastRow(bmp, *offset, height, true);
    default: return true;
    }
}

// ---- PNM --------------------------------------------------------------------

// The header's numbers (width, height and, but for bitmaps, the largest
// sample), and where the data begins: one whitespace character after them.
std::optional<std::pair<std::array<qint64, 3>, qsizetype>> pnmHeader(const Bytes& pnm, int numbers)
{
    std::array<qint64, 3> values{};
    qsizetype at = 2;
    for (int n = 0; n < numbers; ++n) {
        while (true) {
            const int c = pnm.byte(at);
            if (c == '#') {
                while (pnm.byte(at) >= 0 && pnm.byte(at) != '\n')
                    ++at;
            } else if (c >= 0 && std::isspace(c)) {
                ++at;
            } else {
                break;
            }
        }
        if (pnm.byte(at) < '0' || pnm.byte(at) > '9')
            return std::nullopt;
        for (; pnm.byte(at) >= '0' && pnm.byte(at) <= '9' && values[n] < (qint64(1) << 40); ++at)
            values[n] = values[n] * 10 + (pnm.byte(at) - '0');
    }
    return std::pair{values, at + 1};
}

bool pnmHoldsPixels(const Bytes& pnm)
{
    const int kind = pnm.byte(1) - '0';
    const bool bitmap = kind == 1 || kind == 4;
    const auto header = pnmHeader(pnm, bitmap ? 2 : 3);
    if (!header)
        return true; // Qt refuses it
    const auto [values, data] = *header;
    const double pixels = double(values[0]) * double(values[1]);
    const double available = double(pnm.size() - std::min(data, pnm.size()));
    const double sampleBytes = values[2] > 255 ? 2 : 1;
    switch (kind) {
    case 1: return available >= pixels;
    case 2: return available >= 2 * pixels - 1;
    case 3: return available >= 6 * pixels - 1;
    case 4: return available >= double(values[1]) * std::ceil(double(values[0]) / 8);
    case 5: return available >= pixels * sampleBytes;
    case 6: return available >= pixels * 3 * sampleBytes;
    default: return true;
    }
}

} // namespace

bool holdsClaimedPixels(QByteArrayView data)
{
    const Bytes bytes(data);
    if (bytes.startsWith(kPngSignature))
        return pngHoldsPixels(bytes);
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return gifHoldsPixels(bytes);
    if (bytes.startsWith("BM"))
        return bmpHoldsPixels(bytes);
    if (bytes.byte(0) == 'P' && bytes.byte(1) >= '1' && bytes.byte(1) <= '6')
        return pnmHoldsPixels(bytes);
    return true;
}

bool isInterlacedPng(QByteArrayView data)
{
    const Bytes bytes(data);
    return bytes.startsWith(kPngSignature) && bytes.byte(28) == 1;
}

} // namespace zephrin
