#pragma once
// The Exif block of a JPEG's APP1 segment, made byte by byte.

#include <QByteArray>

namespace zephrin::testing {

// An Exif APP1 payload whose first IFD holds one entry: `tag` of `type` with
// `count` values, the first of them `value`; big-endian ("MM"). `firstIfd` is
// where the IFD starts, counted from the TIFF header (8 is right after it).
inline QByteArray exifBlock(quint16 value, quint16 tag = 0x0112, quint16 type = 3, quint32 count = 1,
                            quint32 firstIfd = 8)
{
    QByteArray tiff("MM\0\x2A", 4);
    const auto append16 = [&](quint32 v) { tiff.append(char((v >> 8) & 0xFF)).append(char(v & 0xFF)); };
    const auto append32 = [&](quint32 v) {
        append16(v >> 16);
        append16(v & 0xFFFF);
    };
    append32(firstIfd);
    while (tiff.size() < qsizetype(firstIfd) && firstIfd < 64)
        tiff.append('\0');
    append16(1);
    append16(tag);
    append16(type);
    append32(count);
    append16(value);
    append16(0);
    append32(0); // no next IFD
    return QByteArray("Exif\0\0", 6) + tiff;
}

} // namespace zephrin::testing
