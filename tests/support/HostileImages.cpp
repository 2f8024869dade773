#include "support/HostileImages.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <chrono>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zephrin::testing {

namespace {

void appendLittle16(QByteArray& bytes, int value) { bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF)); }

void appendLittle32(QByteArray& bytes, quint32 value)
{
    appendLittle16(bytes, int(value & 0xFFFF));
    appendLittle16(bytes, int(value >> 16));
}

void appendBig16(QByteArray& bytes, int value) { bytes.append(char((value >> 8) & 0xFF)).append(char(value & 0xFF)); }

void appendBig32(QByteArray& bytes, quint32 value)
{
    appendBig16(bytes, int(value >> 16));
    appendBig16(bytes, int(value & 0xFFFF));
}

quint32 crc32(const QByteArray& bytes)
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

void appendJpegSegment(QByteArray& jpeg, unsigned char marker, const QByteArray& body)
{
    jpeg.append(char(0xFF)).append(char(marker));
    appendBig16(jpeg, int(body.size() + 2));
    jpeg += body;
}

QByteArray pngHeader(quint32 width, quint32 height, int bitDepth)
{
    QByteArray header("IHDR");
    appendBig32(header, width);
    appendBig32(header, height);
    header.append(char(bitDepth)).append("\x06\x00\x00\x00", 4); // RGBA, not interlaced
    return header;
}

void appendPngChunk(QByteArray& png, const QByteArray& typeAndData)
{
    appendBig32(png, quint32(typeAndData.size() - 4));
    png += typeAndData;
    appendBig32(png, crc32(typeAndData));
}

} // namespace

QByteArray tinyGifClaiming(int width, int height)
{
    QByteArray gif("GIF89a");
    appendLittle16(gif, width);
    appendLittle16(gif, height);
    gif.append("\x80\x00\x00", 3);             // a global table of two colours
    gif.append("\x00\x00\x00\xFF\xFF\xFF", 6); // black, white
    gif.append(char(0x2C));                    // the frame, at (0, 0)
    appendLittle16(gif, 0);
    appendLittle16(gif, 0);
    appendLittle16(gif, width);
    appendLittle16(gif, height);
    gif.append('\0');
    gif.append("\x02\x02\x44\x01\x00", 5); // 2-bit codes: clear, one pixel, end
    gif.append(char(0x3B));
    return gif;
}

QByteArray bmpClaiming(int width, int height, int fileBytes)
{
    QByteArray bmp(fileBytes, '\x40');
    const auto put = [&](int at, quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            bmp[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, quint32(fileBytes), 4);
    put(10, 54, 4); // pixels after the two headers
    put(14, 40, 4); // BITMAPINFOHEADER
    put(18, quint32(width), 4);
    put(22, quint32(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(30, 0, 4); // uncompressed
    put(34, 0, 4);
    put(38, 2835, 4);
    put(42, 2835, 4);
    put(46, 0, 4);
    put(50, 0, 4);
    return bmp;
}

QByteArray flatGreyJpeg(int width, int height, qint64 scanBytes)
{
    QByteArray jpeg("\xFF\xD8", 2);
    appendJpegSegment(jpeg, 0xDB, QByteArray(1, '\0') + QByteArray(64, '\1')); // quantisation: all ones
    QByteArray frame(1, 8);                                                    // baseline, 8 bits
    appendBig16(frame, height);
    appendBig16(frame, width);
    frame.append("\x01\x01\x11\x00", 4); // one component, no subsampling
    appendJpegSegment(jpeg, 0xC0, frame);
    // One 1-bit code each: DC difference 0, and end-of-block.
    const QByteArray oneCode = QByteArray(1, '\1') + QByteArray(15, '\0') + QByteArray(1, '\0');
    appendJpegSegment(jpeg, 0xC4, QByteArray(1, '\x00') + oneCode);
    appendJpegSegment(jpeg, 0xC4, QByteArray(1, '\x10') + oneCode);
    appendJpegSegment(jpeg, 0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
    const qint64 blocks = qint64((width + 7) / 8) * ((height + 7) / 8);
    const qint64 bits = blocks * 2;
    QByteArray scan((bits + 7) / 8, '\0');
    if (const int padding = int(scan.size() * 8 - bits); padding > 0)
        scan[scan.size() - 1] = char((1 << padding) - 1); // pad bits are ones
    jpeg += scanBytes >= 0 ? scan.left(scanBytes) : scan;
    jpeg.append("\xFF\xD9", 2);
    return jpeg;
}

QByteArray pngClaiming(quint32 width, quint32 height, qint64 idatBytes, int bitDepth)
{
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    const auto appendChunk = [&](const QByteArray& typeAndData) { appendPngChunk(png, typeAndData); };
    appendChunk(pngHeader(width, height, bitDepth));
    // A zlib stream of stored (uncompressed) blocks of zeros that never ends.
    QByteArray data("IDAT\x78\x01", 6);
    while (data.size() - 4 < idatBytes) {
        const int length = int(std::clamp<qint64>(idatBytes - (data.size() - 4) - 5, 0, 65535));
        data.append('\0');
        data.append(char(length & 0xFF)).append(char(length >> 8));
        data.append(char(~length & 0xFF)).append(char((~length >> 8) & 0xFF));
        data += QByteArray(length, '\0');
    }
    appendChunk(data);
    appendChunk(QByteArray("IEND"));
    return png;
}

QByteArray pngHeaderClaiming(quint32 width, quint32 height)
{
    constexpr qsizetype kSignature = 8, kHeaderChunk = 25, kChunkStart = 8;
    return pngClaiming(width, height, 2).left(kSignature + kHeaderChunk + kChunkStart + 2);
}

QByteArray clearPng(quint32 width, quint32 height)
{
    // Every row: filter 0, then zero bytes.
    const QByteArray rows(qsizetype(height) * (1 + qsizetype(width) * 4), '\0');
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    appendPngChunk(png, pngHeader(width, height, 8));
    appendPngChunk(png, QByteArray("IDAT") + qCompress(rows, 1).mid(4)); // less qCompress's length prefix
    appendPngChunk(png, QByteArray("IEND"));
    return png;
}

} // namespace zephrin::testing

namespace zephrin::testing {

QByteArray rleBmpClaiming(int width, int height)
{
    QByteArray data;
    for (int row = 0; row < height; row += 255)
        data.append("\x00\x02\x00", 3).append(char(std::min(255, height - row))); // jump 0 across, rows down
    data.append("\x00\x01", 2);                                                   // end of bitmap
    const QByteArray palette(256 * 4, '\0');
    const quint32 offset = 14 + 40 + quint32(palette.size());
    QByteArray bmp("BM");
    appendLittle32(bmp, offset + quint32(data.size()));
    appendLittle32(bmp, 0);
    appendLittle32(bmp, offset);
    appendLittle32(bmp, 40);
    appendLittle32(bmp, quint32(width));
    appendLittle32(bmp, quint32(height));
    appendLittle16(bmp, 1);
    appendLittle16(bmp, 8);
    appendLittle32(bmp, 1); // RLE8
    appendLittle32(bmp, quint32(data.size()));
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, 256);
    appendLittle32(bmp, 0);
    return bmp + palette + data;
}

QByteArray xpmClaiming(int width, int height)
{
    QByteArray xpm = "/* XPM */\nstatic char *claim[] = {\n\"" + QByteArray::number(width) + ' '
                     + QByteArray::number(height) + " 1 1\",\n\"a c #000000\",\n";
    for (int row = 0; row < height; ++row)
        xpm += "\"\",\n";
    return xpm + "};\n";
}

QByteArray tiffClaiming(int width, int height, int stripBytes)
{
    constexpr quint32 kEntries = 8;
    const quint32 data = 8 + 2 + 12 * kEntries + 4;
    QByteArray tiff("II*\0", 4);
    appendLittle32(tiff, 8);
    appendLittle16(tiff, kEntries);
    const auto entry = [&](int tag, int type, quint32 value) {
        appendLittle16(tiff, tag);
        appendLittle16(tiff, type);
        appendLittle32(tiff, 1);
        appendLittle32(tiff, value);
    };
    entry(256, 4, quint32(width));
    entry(257, 4, quint32(height));
    entry(258, 3, 8);    // bits per sample
    entry(259, 3, 1);    // no compression
    entry(262, 3, 1);    // black is zero
    entry(273, 4, data); // the strip's offset
    entry(278, 4, quint32(height));
    entry(279, 4, quint32(stripBytes));
    appendLittle32(tiff, 0); // no next directory
    return tiff + QByteArray(stripBytes, '\x80');
}

QByteArray svgDrawing(const QString& path)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"64\" "
           "height=\"48\"><image xlink:href=\""
           + path.toUtf8() + "\" x=\"0\" y=\"0\" width=\"64\" height=\"48\"/></svg>\n";
}

WatchedFifo::WatchedFifo(QString path) : m_path(std::move(path))
{
    const QByteArray name = QFile::encodeName(m_path);
    ::mkfifo(name.constData(), 0600);
    m_watcher = std::thread([this, name] {
        while (!m_stop) {
            // Succeeds only while a reader has the pipe open, or waits to.
            const int writer = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0) {
                m_opened = true;
                ::close(writer);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
}

WatchedFifo::~WatchedFifo()
{
    m_stop = true;
    m_watcher.join();
}

} // namespace zephrin::testing
