#include "support/HostileImages.h"

#include "engine/codec/WebPEncoder.h"
#include "support/ExifBlock.h"

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

quint32 little32(const QByteArray& bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
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

QByteArray pngHeader(quint32 width, quint32 height, int bitDepth, bool interlaced = false)
{
    QByteArray header("IHDR");
    appendBig32(header, width);
    appendBig32(header, height);
    header.append(char(bitDepth)).append("\x06\x00\x00", 3).append(char(interlaced ? 1 : 0)); // RGBA
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

QByteArray pngClaiming(quint32 width, quint32 height, qint64 idatBytes, int bitDepth, bool interlaced)
{
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    const auto appendChunk = [&](const QByteArray& typeAndData) { appendPngChunk(png, typeAndData); };
    appendChunk(pngHeader(width, height, bitDepth, interlaced));
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

QByteArray clearPng(quint32 width, quint32 height, int bitDepth)
{
    // Every row: filter 0, then zero bytes.
    const QByteArray rows(qsizetype(height) * (1 + qsizetype(width) * bitDepth / 2), '\0');
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    appendPngChunk(png, pngHeader(width, height, bitDepth));
    appendPngChunk(png, QByteArray("IDAT") + qCompress(rows, 1).mid(4)); // less qCompress's length prefix
    appendPngChunk(png, QByteArray("IEND"));
    return png;
}

namespace {

// A 256-colour RLE8 BMP of width × height whose pixel data is `data`.
QByteArray rle8Bmp(int width, int height, const QByteArray& palette, const QByteArray& data)
{
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
    appendLittle32(bmp, quint32(palette.size() / 4));
    appendLittle32(bmp, 0);
    return bmp + palette + data;
}

} // namespace

QByteArray rleBmpClaiming(int width, int height)
{
    QByteArray data;
    for (int row = 0; row < height; row += 255)
        data.append("\x00\x02\x00", 3).append(char(std::min(255, height - row))); // jump 0 across, rows down
    data.append("\x00\x01", 2);                                                   // end of bitmap
    return rle8Bmp(width, height, QByteArray(256 * 4, '\0'), data);
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

QByteArray rleBmpOverrunningRows(int width, int height)
{
    QByteArray data;
    for (qint64 coded = 0; coded < qint64(width) * height; coded += 255)
        data.append("\xFF\x01", 2); // 255 pixels of colour 1
    data.append("\x00\x01", 2);     // end of bitmap
    QByteArray palette(256 * 4, '\0');
    palette.replace(4, 4, QByteArray("\x20\x80\xE0\x00", 4));
    return rle8Bmp(width, height, palette, data);
}

QByteArray topDownBmp(const QByteArray& bmp)
{
    const quint32 offset = little32(bmp, 10);
    const auto width = qint32(little32(bmp, 18));
    const auto height = qint32(little32(bmp, 22));
    const int bits = int(quint8(bmp[28])) | int(quint8(bmp[29])) << 8;
    const qsizetype stride = (qsizetype(width) * bits + 31) / 32 * 4;
    QByteArray flipped = bmp.left(offset);
    for (qint32 row = height - 1; row >= 0; --row)
        flipped += bmp.mid(qsizetype(offset) + row * stride, stride);
    const quint32 negative = quint32(-height);
    for (int i = 0; i < 4; ++i)
        flipped[22 + i] = char((negative >> (8 * i)) & 0xFF);
    return flipped;
}

QByteArray gifEndingAtOnce(int width, int height, int dataBytes)
{
    QByteArray gif = tinyGifClaiming(width, height);
    gif.chop(6);      // its data and trailer
    gif.append('\2'); // 3-bit codes
    QByteArray data(dataBytes, '\x55');
    data[0] = char(0x2C); // clear (4), then end (5)
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        gif.append(char(block.size())).append(block);
    }
    return gif.append('\0').append(char(0x3B));
}

QByteArray arithmeticJpegClaiming(int width, int height)
{
    QByteArray jpeg("\xFF\xD8", 2);
    appendJpegSegment(jpeg, 0xDB, QByteArray(1, '\0') + QByteArray(64, '\1')); // quantisation: all ones
    QByteArray frame(1, 8);
    appendBig16(frame, height);
    appendBig16(frame, width);
    frame.append("\x01\x01\x11\x00", 4);  // one component, no subsampling
    appendJpegSegment(jpeg, 0xC9, frame);   // sequential, arithmetic coding
    appendJpegSegment(jpeg, 0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
    jpeg.append(QByteArray(8, '\0'));
    return jpeg.append("\xFF\xD9", 2);
}

namespace {

void appendLittle24(QByteArray& bytes, quint32 value)
{
    appendLittle16(bytes, int(value & 0xFFFF));
    bytes.append(char((value >> 16) & 0xFF));
}

QByteArray riffChunk(const char* type, const QByteArray& body)
{
    QByteArray chunk(type, 4);
    appendLittle32(chunk, quint32(body.size()));
    chunk += body;
    if (body.size() % 2 != 0)
        chunk.append('\0');
    return chunk;
}

// The chunks of a WebP file after its RIFF header, as (type, body) pairs.
std::vector<std::pair<QByteArray, QByteArray>> riffChunks(const QByteArray& webp)
{
    std::vector<std::pair<QByteArray, QByteArray>> chunks;
    for (qsizetype at = 12; at + 8 <= webp.size();) {
        const quint32 size = little32(webp, at + 4);
        chunks.emplace_back(webp.mid(at, 4), webp.mid(at + 8, size));
        at += 8 + qsizetype(size) + qsizetype(size % 2);
    }
    return chunks;
}

QByteArray riffFile(const QByteArray& chunks)
{
    QByteArray webp("RIFF");
    appendLittle32(webp, quint32(4 + chunks.size()));
    return webp + "WEBP" + chunks;
}

QByteArray extendedHeader(quint8 flags, int width, int height)
{
    QByteArray body(1, char(flags));
    body.append(QByteArray(3, '\0'));
    appendLittle24(body, quint32(width - 1));
    appendLittle24(body, quint32(height - 1));
    return riffChunk("VP8X", body);
}

} // namespace

QByteArray sparseAnimatedWebp(int width, int height)
{
    const QByteArray pixel = WebPEncoder::encode(Image(cv::Mat(1, 1, CV_8UC4, cv::Scalar(4, 4, 4, 4))), 100);
    QByteArray frameData;
    for (const auto& [type, body] : riffChunks(pixel))
        if (type == "ALPH" || type == "VP8 " || type == "VP8L")
            frameData += riffChunk(type.constData(), body);
    QByteArray frame;
    appendLittle24(frame, 0); // x / 2
    appendLittle24(frame, 0); // y / 2
    appendLittle24(frame, 0); // width - 1
    appendLittle24(frame, 0); // height - 1
    appendLittle24(frame, 100);
    frame.append('\0');
    QByteArray animation(4, '\0'); // background
    appendLittle16(animation, 0);   // loop forever
    return riffFile(extendedHeader(0x12, width, height) + riffChunk("ANIM", animation)
                    + riffChunk("ANMF", frame + frameData));
}

QByteArray webpWithExifOrientation(const QByteArray& still, quint16 orientation)
{
    QByteArray image;
    int width = 0;
    int height = 0;
    quint8 flags = 0x08; // Exif
    for (const auto& [type, body] : riffChunks(still)) {
        if (type == "VP8X") {
            flags |= quint8(body[0]);
            width = 1 + int(quint8(body[4]) | quint8(body[5]) << 8 | quint8(body[6]) << 16);
            height = 1 + int(quint8(body[7]) | quint8(body[8]) << 8 | quint8(body[9]) << 16);
        } else if (type == "VP8 ") {
            width = int(quint8(body[6]) | (quint8(body[7]) & 0x3F) << 8);
            height = int(quint8(body[8]) | (quint8(body[9]) & 0x3F) << 8);
            image += riffChunk("VP8 ", body);
        } else if (type == "VP8L") {
            const quint32 bits = little32(body, 1);
            width = int(bits & 0x3FFF) + 1;
            height = int((bits >> 14) & 0x3FFF) + 1;
            image += riffChunk("VP8L", body);
        } else {
            image += riffChunk(type.constData(), body);
        }
    }
    const QByteArray tiff = exifBlock(orientation).mid(6); // less "Exif\0\0"
    return riffFile(extendedHeader(flags, width, height) + image + riffChunk("EXIF", tiff));
}

QByteArray pngWithChunk(const QByteArray& png, const char* type, const QByteArray& data)
{
    const qsizetype idat = png.indexOf("IDAT") - 4;
    QByteArray chunk;
    appendPngChunk(chunk, QByteArray(type) + data);
    return png.left(idat) + chunk + png.mid(idat);
}

QByteArray pngWithExifOrientation(const QByteArray& png, quint16 orientation)
{
    return pngWithChunk(png, "eXIf", exifBlock(orientation).mid(6));
}

QByteArray jpegTiff(const QByteArray& jpeg, int width, int height, qint64 stripBytes, bool colour)
{
    const QByteArray strip = stripBytes >= 0 ? jpeg.left(stripBytes) : jpeg;
    const quint32 entries = colour ? 10 : 9;
    const quint32 bitsAt = 8 + 2 + 12 * entries + 4; // three SHORTs of 8, for colour
    const quint32 data = bitsAt + (colour ? 6 : 0);
    QByteArray tiff("II*\0", 4);
    appendLittle32(tiff, 8);
    appendLittle16(tiff, int(entries));
    const auto entry = [&](int tag, int type, quint32 count, quint32 value) {
        appendLittle16(tiff, tag);
        appendLittle16(tiff, type);
        appendLittle32(tiff, count);
        appendLittle32(tiff, value);
    };
    entry(256, 4, 1, quint32(width));
    entry(257, 4, 1, quint32(height));
    if (colour)
        entry(258, 3, 3, bitsAt); // bits per sample
    else
        entry(258, 3, 1, 8);
    entry(259, 3, 1, 7);              // JPEG
    entry(262, 3, 1, colour ? 6 : 1); // YCbCr, or black is zero
    entry(273, 4, 1, data);           // the strip's offset
    entry(277, 3, 1, colour ? 3 : 1); // samples a pixel
    entry(278, 4, 1, quint32(height));
    entry(279, 4, 1, quint32(strip.size()));
    if (colour)
        entry(530, 3, 2, 2 | 2 << 16); // chroma halved both ways, as the JPEG stores it
    appendLittle32(tiff, 0);           // no next directory
    if (colour)
        tiff.append("\x08\x00\x08\x00\x08\x00", 6);
    return tiff + strip;
}

} // namespace zephrin::testing
