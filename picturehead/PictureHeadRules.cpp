#include "picturehead/PictureHeadRules.h"

#include "picturehead/Bytes.h"

#include <algorithm>
#include <array>
#include <optional>

namespace zephrin {

namespace {

quint32 crc32Of(QByteArrayView bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

bool isLetter(int byte) { return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'); }

// IHDR first, 13 bytes, its CRC right and its values the format's; then, up
// to the picture data, chunks of a length below 2^31 and a type of letters.
bool pngHolds(const Bytes& png)
{
    if (!png.has(8, 25))
        return true;
    if (png.big(8, 4) != 13u || !png.is(12, "IHDR"))
        return false;
    const quint32 width = *png.big(16, 4);
    const quint32 height = *png.big(20, 4);
    const int depth = png.byte(24);
    bool depthFits = false;
    switch (png.byte(25)) {
    case 0: depthFits = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16; break;
    case 3: depthFits = depth == 1 || depth == 2 || depth == 4 || depth == 8; break;
    case 2:
    case 4:
    case 6: depthFits = depth == 8 || depth == 16; break;
    default: break;
    }
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu || !depthFits || png.byte(26) != 0
        || png.byte(27) != 0 || png.byte(28) > 1 || crc32Of(png.view().sliced(12, 17)) != *png.big(29, 4))
        return false;
    for (qsizetype at = 33; png.has(at, 8);) {
        const quint32 length = *png.big(at, 4);
        if (length > 0x7FFFFFFFu)
            return false;
        for (int i = 4; i < 8; ++i)
            if (!isLetter(png.byte(at + i)))
                return false;
        if (png.is(at + 4, "IDAT") || png.is(at + 4, "IEND"))
            break;
        at += 12 + qsizetype(length);
    }
    return true;
}

// Markers from the start of image to the frame header, found as libjpeg
// finds them (bytes between segments are passed over with a warning): none
// it does not know, no second start of image, no end and no scan before the
// frame; the frame with sides, one to ten components, and the length they
// take.
bool jpegHolds(const Bytes& jpeg)
{
    for (qsizetype at = 2;;) {
        while (jpeg.has(at, 1) && jpeg.byte(at) != 0xFF)
            ++at;
        while (jpeg.byte(at + 1) == 0xFF)
            ++at;
        const int marker = jpeg.byte(at + 1);
        if (marker < 0)
            return true;
        if (marker == 0x00) { // a stuffed zero, not a marker
            at += 2;
            continue;
        }
        if ((marker >= 0x02 && marker < 0xC0) || marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
            return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) { // they stand alone
            at += 2;
            continue;
        }
        const std::optional<quint32> length = jpeg.big(at + 2, 2);
        if (!length)
            return true;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            const std::optional<quint32> height = jpeg.big(at + 5, 2);
            const std::optional<quint32> width = jpeg.big(at + 7, 2);
            const int components = jpeg.byte(at + 9);
            if (components < 0)
                return true;
            return *height > 0 && *width > 0 && components >= 1 && components <= 10
                   && *length == 8u + 3u * quint32(components);
        }
        at += 2 + std::max(qsizetype(*length), qsizetype(2));
    }
}

// Extensions (a label, then sub-blocks) before the first frame, nothing else;
// the frame's codes start at one to eight bits.
bool gifHolds(const Bytes& gif)
{
    const auto tableBytes = [](int flags) { return (flags & 0x80) ? qsizetype(3) << ((flags & 7) + 1) : 0; };
    const int flags = gif.byte(10);
    if (flags < 0)
        return true;
    for (qsizetype at = 13 + tableBytes(flags); gif.has(at, 1);) {
        switch (gif.byte(at)) {
        case 0x21: {
            qsizetype block = at + 2;
            for (int size = gif.byte(block); size > 0; size = gif.byte(block))
                block += 1 + size;
            if (gif.byte(block) < 0)
                return true;
            at = block + 1;
            break;
        }
        case 0x2C: {
            const int frameFlags = gif.byte(at + 9);
            const int codeSize = frameFlags < 0 ? -1 : gif.byte(at + 10 + tableBytes(frameFlags));
            return codeSize != 0 && codeSize <= 8;
        }
        default: return false;
        }
    }
    return true;
}

// A simple image (VP8 or VP8L) or an extended one (VP8X) in its first chunk,
// with that bitstream's signature.
bool webpHolds(const Bytes& webp)
{
    if (!webp.has(12, 8))
        return true;
    if (webp.little(4, 4) < 4u + 8u)
        return false;
    if (webp.is(12, "VP8L"))
        return webp.byte(20) < 0 || webp.byte(20) == 0x2F;
    if (webp.is(12, "VP8X"))
        return true;
    if (!webp.is(12, "VP8 "))
        return false;
    if (!webp.has(20, 10))
        return true;
    // A key frame, its start code, and sides that are not zero.
    return (webp.byte(20) & 1) == 0 && webp.is(23, "\x9D\x01\x2A") && (*webp.little(26, 2) & 0x3FFF) != 0
           && (*webp.little(28, 2) & 0x3FFF) != 0;
}

// The first directory past the header, with entries.
bool tiffHolds(const Bytes& tiff)
{
    const bool bigEndian = tiff.byte(0) == 'M';
    const std::optional<quint32> directory = tiff.number(4, 4, bigEndian);
    if (!directory)
        return true;
    if (*directory < 8)
        return false;
    const std::optional<quint32> entries = tiff.number(qsizetype(*directory), 2, bigEndian);
    return !entries || *entries > 0;
}

// The information header of a size some BMP writer uses, its width above
// zero, a height, one plane and a depth of pixels that exists.
bool bmpHolds(const Bytes& bmp)
{
    const std::optional<quint32> headerSize = bmp.little(14, 4);
    if (!headerSize)
        return true;
    constexpr std::array kSizes{12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u};
    if (std::find(kSizes.begin(), kSizes.end(), *headerSize) == kSizes.end())
        return false;
    const bool core = *headerSize == 12;
    const std::optional<quint32> width = bmp.little(18, core ? 2 : 4);
    const std::optional<quint32> height = bmp.little(core ? 20 : 22, core ? 2 : 4);
    const std::optional<quint32> planes = bmp.little(core ? 22 : 26, 2);
    const std::optional<quint32> depth = bmp.little(core ? 24 : 28, 2);
    if (!depth)
        return true;
    constexpr std::array kDepths{1u, 4u, 8u, 16u, 24u, 32u};
    const bool positiveWidth = core ? *width > 0 : *width > 0 && *width <= 0x7FFFFFFFu;
    return positiveWidth && *height != 0 && *planes == 1
           && std::find(kDepths.begin(), kDepths.end(), *depth) != kDepths.end();
}

} // namespace

bool pictureHeadHolds(PictureHeadKind kind, QByteArrayView head)
{
    const Bytes bytes(head);
    switch (kind) {
    case PictureHeadKind::png: return pngHolds(bytes);
    case PictureHeadKind::jpeg: return jpegHolds(bytes);
    case PictureHeadKind::gif: return gifHolds(bytes);
    case PictureHeadKind::webp: return webpHolds(bytes);
    case PictureHeadKind::tiff: return tiffHolds(bytes);
    case PictureHeadKind::bmp: return bmpHolds(bytes);
    }
    return true;
}

} // namespace zephrin
