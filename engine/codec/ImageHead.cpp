#include "engine/codec/ImageHead.h"

#include "engine/codec/Bytes.h"
#include "engine/codec/ImageFormat.h"

#include <QBuffer>
#include <QImageReader>

#include <zlib.h>

namespace zephrin {

namespace {

bool isLetter(int byte) { return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'); }

bool isChunkType(const Bytes& png, qsizetype at, const char* type)
{
    for (int i = 0; i < 4; ++i)
        if (png.byte(at + i) != quint8(type[i]))
            return false;
    return true;
}

// libpng refuses an IHDR chunk that is not the first, is not 13 bytes, fails
// its CRC or holds values outside the format; and, before the picture data,
// any chunk whose length passes 2^31 - 1 or whose type is not four letters.
bool pngHeadRefused(QByteArrayView head)
{
    const Bytes png(head);
    constexpr qsizetype kIhdr = 8;
    if (!png.has(kIhdr, 8 + 13 + 4))
        return false;
    if (png.big32(kIhdr) != 13u || !isChunkType(png, kIhdr + 4, "IHDR"))
        return true;
    const quint32 width = *png.big32(kIhdr + 8);
    const quint32 height = *png.big32(kIhdr + 12);
    const int depth = png.byte(kIhdr + 16);
    const int colourType = png.byte(kIhdr + 17);
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu)
        return true;
    bool depthFits = false;
    switch (colourType) {
    case 0: depthFits = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16; break;
    case 3: depthFits = depth == 1 || depth == 2 || depth == 4 || depth == 8; break;
    case 2:
    case 4:
    case 6: depthFits = depth == 8 || depth == 16; break;
    default: break;
    }
    if (!depthFits || png.byte(kIhdr + 18) != 0 || png.byte(kIhdr + 19) != 0 || png.byte(kIhdr + 20) > 1)
        return true;
    const auto* ihdr = reinterpret_cast<const Bytef*>(head.data() + kIhdr + 4);
    if (crc32(crc32(0, nullptr, 0), ihdr, 4 + 13) != *png.big32(kIhdr + 8 + 13))
        return true;

    for (qsizetype at = kIhdr + 8 + 13 + 4; png.has(at, 8);) {
        const quint32 length = *png.big32(at);
        if (length > 0x7FFFFFFFu)
            return true;
        for (int i = 4; i < 8; ++i)
            if (!isLetter(png.byte(at + i)))
                return true;
        if (isChunkType(png, at + 4, "IDAT") || isChunkType(png, at + 4, "IEND"))
            break;
        at += 12 + qsizetype(length);
    }
    return false;
}

// Our GIF reader takes extensions (an introducer, a label, sub-blocks) before
// the first frame, and nothing else; a frame's codes start at 1 to 8 bits.
bool gifHeadRefused(QByteArrayView head)
{
    const Bytes gif(head);
    const int flags = gif.byte(10);
    if (flags < 0)
        return false;
    const auto tableBytes = [](int flags) { return (flags & 0x80) ? qsizetype(3) << ((flags & 7) + 1) : 0; };
    for (qsizetype at = 13 + tableBytes(flags); gif.has(at, 1);) {
        switch (gif.byte(at)) {
        case 0x21: {
            // The label, then sub-blocks up to an empty one.
            qsizetype block = at + 2;
            for (int size = gif.byte(block); size > 0; size = gif.byte(block))
                block += 1 + size;
            if (gif.byte(block) < 0)
                return false;
            at = block + 1;
            break;
        }
        case 0x2C: {
            const int frameFlags = gif.byte(at + 9);
            const int codeSize = frameFlags < 0 ? -1 : gif.byte(at + 10 + tableBytes(frameFlags));
            return codeSize == 0 || codeSize > 8;
        }
        default: return true;
        }
    }
    return false;
}

// Qt's BMP reader judges the file and information headers from the first
// bytes alone.
bool bmpHeadRefused(QByteArrayView head)
{
    // The headers and colour masks take 14 + 124 + 16 bytes at most: a
    // shorter head is all of a file small enough for the reader to judge.
    if (head.size() < 14 + 124 + 16)
        return false;
    QByteArray bytes = QByteArray::fromRawData(head.data(), head.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    // A picture stored top row first has a negative height.
    const QSize size = reader.size();
    return size.width() <= 0 || size.height() == 0;
}

} // namespace

bool imageHeadRefused(QByteArrayView head)
{
    const std::optional<ImageFileFormat> format = sniffedFormat(head);
    if (!format)
        return true;
    switch (*format) {
    case ImageFileFormat::png: return pngHeadRefused(head);
    case ImageFileFormat::gif: return gifHeadRefused(head);
    case ImageFileFormat::bmp: return bmpHeadRefused(head);
    default: return false;
    }
}

} // namespace zephrin
