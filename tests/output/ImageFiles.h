#pragma once
// Image files made for the cutout tests: ordinary encodings, a JPEG with an
// orientation flag, and files that lie or end early.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <array>
#include <cstdint>

namespace zephrin::testing {

inline QByteArray encoded(const QImage& image, const char* format, int quality = 95)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

// A photo-like test subject: a dark red disc on a white page, with the disc in
// the upper half so that orientation mistakes show.
inline QImage discOnWhite(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 30, 40));
    const int d = std::min(width, height) / 2;
    painter.drawEllipse(QRect(width / 2 - d / 2, height / 4 - d / 4, d, d));
    return image;
}

// `jpeg` with an Exif block whose orientation tag (0x0112) is `orientation`
// (1 to 8), placed right after the start-of-image marker.
inline QByteArray withExifOrientation(const QByteArray& jpeg, quint16 orientation)
{
    QByteArray tiff("MM\0\x2A\0\0\0\x08", 8); // big-endian header, first IFD at 8
    auto append16 = [&](quint16 v) { tiff.append(char(v >> 8)).append(char(v & 0xFF)); };
    auto append32 = [&](quint32 v) { append16(quint16(v >> 16)); append16(quint16(v)); };
    append16(1);      // one entry
    append16(0x0112); // Orientation
    append16(3);      // SHORT
    append32(1);      // one value
    append16(orientation);
    append16(0);      // value padding
    append32(0);      // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char((payload.size() + 2) >> 8)).append(char((payload.size() + 2) & 0xFF));
    segment += payload;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

inline quint32 crc32(const QByteArray& bytes)
{
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (char byte : bytes)
        c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

inline void appendBigEndian(QByteArray& bytes, quint32 value)
{
    bytes.append(char(value >> 24)).append(char(value >> 16)).append(char(value >> 8)).append(char(value));
}

// A PNG whose header claims width × height RGBA pixels, followed by the start of
// a data chunk (so that readers take the header for real) and nothing more.
inline QByteArray pngHeaderClaiming(quint32 width, quint32 height)
{
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    const auto appendChunk = [&](const QByteArray& typeAndData) {
        appendBigEndian(png, quint32(typeAndData.size() - 4));
        png += typeAndData;
        appendBigEndian(png, crc32(typeAndData));
    };
    QByteArray ihdr("IHDR");
    appendBigEndian(ihdr, width);
    appendBigEndian(ihdr, height);
    ihdr.append(QByteArray("\x08\x06\x00\x00\x00", 5));
    appendChunk(ihdr);
    appendChunk(QByteArray("IDAT\x78\x9C", 6));
    return png;
}

} // namespace zephrin::testing
