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

// A BMP with a 40-byte information header, then `palette` (4 bytes an entry;
// the header counts `colours` of them, truthfully or not), then `data`.
QByteArray bmpFile(int width, int height, int bits, quint32 compression, const QByteArray& palette, quint32 colours,
                   const QByteArray& data)
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
    appendLittle16(bmp, quint16(bits));
    appendLittle32(bmp, compression);
    appendLittle32(bmp, quint32(data.size()));
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, colours);
    appendLittle32(bmp, 0);
    return bmp + palette + data;
}

// A 256-colour RLE8 BMP of width × height whose pixel data is `data`.
QByteArray rle8Bmp(int width, int height, const QByteArray& palette, const QByteArray& data)
{
    return bmpFile(width, height, 8, 1, palette, quint32(palette.size() / 4), data);
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

namespace {

// A little-endian TIFF of one directory: its entries in the order added, the
// values that do not fit in an entry after the directory, then the pixel data,
// whose offset StripOffsets gets.
class TiffMaker {
public:
    // One entry of `values` as `type` (BYTE, SHORT, LONG, their signed kinds,
    // LONG8 or SLONG8).
    void add(int tag, int type, std::initializer_list<qint64> values)
    {
        QByteArray bytes;
        const int size = type == 1 || type == 6 ? 1 : type == 3 || type == 8 ? 2 : type == 16 || type == 17 ? 8 : 4;
        for (const qint64 value : values)
            for (int i = 0; i < size; ++i)
                bytes.append(char((quint64(value) >> (8 * i)) & 0xFF));
        m_entries.push_back({tag, type, quint32(values.size()), bytes});
    }
    void addDataOffset() { m_entries.push_back({kStripOffsets, 4, 1, {}}); }

    QByteArray file(const QByteArray& data) const
    {
        const quint32 outside = 8 + 2 + 12 * quint32(m_entries.size()) + 4;
        quint32 dataAt = outside;
        for (const Entry& entry : m_entries)
            dataAt += entry.value.size() > 4 ? quint32(entry.value.size()) : 0;
        QByteArray tiff("II*\0", 4);
        appendLittle32(tiff, 8);
        appendLittle16(tiff, int(m_entries.size()));
        QByteArray values;
        for (const Entry& entry : m_entries) {
            appendLittle16(tiff, entry.tag);
            appendLittle16(tiff, entry.type);
            appendLittle32(tiff, entry.count);
            if (entry.tag == kStripOffsets && entry.value.isEmpty()) {
                appendLittle32(tiff, dataAt);
            } else if (entry.value.size() > 4) {
                appendLittle32(tiff, outside + quint32(values.size()));
                values += entry.value;
            } else {
                tiff += entry.value.leftJustified(4, '\0');
            }
        }
        appendLittle32(tiff, 0); // no next directory
        return tiff + values + data;
    }

private:
    static constexpr int kStripOffsets = 273;
    struct Entry {
        int tag;
        int type;
        quint32 count;
        QByteArray value;
    };
    std::vector<Entry> m_entries;
};

} // namespace

QByteArray tiffClaiming(int width, int height, int stripBytes, int sizeType)
{
    TiffMaker tiff;
    tiff.add(256, sizeType, {width});
    tiff.add(257, sizeType, {height});
    tiff.add(258, 3, {8}); // bits per sample
    tiff.add(259, 3, {1}); // no compression
    tiff.add(262, 3, {1}); // black is zero
    tiff.addDataOffset();
    tiff.add(278, 4, {height});
    tiff.add(279, 4, {stripBytes});
    return tiff.file(QByteArray(stripBytes, '\x80'));
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

QByteArray arithmeticJpegClaiming(int width, int height, qint64 scanZeros)
{
    QByteArray jpeg("\xFF\xD8", 2);
    appendJpegSegment(jpeg, 0xDB, QByteArray(1, '\0') + QByteArray(64, '\1')); // quantisation: all ones
    QByteArray frame(1, 8);
    appendBig16(frame, height);
    appendBig16(frame, width);
    frame.append("\x01\x01\x11\x00", 4);  // one component, no subsampling
    appendJpegSegment(jpeg, 0xC9, frame);   // sequential, arithmetic coding
    appendJpegSegment(jpeg, 0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
    jpeg.append(QByteArray(scanZeros, '\0'));
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

QByteArray animatedWebp(int width, int height, const std::vector<WebpFrame>& frames)
{
    QByteArray chunks = extendedHeader(0x12, width, height);
    QByteArray animation(4, '\0'); // background
    appendLittle16(animation, 0);   // loop forever
    chunks += riffChunk("ANIM", animation);
    for (const WebpFrame& each : frames) {
        const cv::Mat flat(each.coded.height(), each.coded.width(), CV_8UC4, cv::Scalar(4, 4, 4, 4));
        QByteArray frameData;
        for (const auto& [type, body] : riffChunks(WebPEncoder::encode(Image(flat), 100)))
            if (type == "ALPH" || type == "VP8 " || type == "VP8L")
                frameData += riffChunk(type.constData(), body);
        QByteArray frame;
        appendLittle24(frame, quint32(each.claimed.x() / 2));
        appendLittle24(frame, quint32(each.claimed.y() / 2));
        appendLittle24(frame, quint32(each.claimed.width() - 1));
        appendLittle24(frame, quint32(each.claimed.height() - 1));
        appendLittle24(frame, 100);
        frame.append('\0');
        chunks += riffChunk("ANMF", frame + frameData);
    }
    return riffFile(chunks);
}

QByteArray sparseAnimatedWebp(int width, int height)
{
    return animatedWebp(width, height, {{QRect(0, 0, 1, 1), QSize(1, 1)}});
}

namespace {

// `still` (a WebP file of one picture, as WebPEncoder writes it) in the
// extended format, with `flags` added and `icc` and `exif` as chunks where
// they belong (before the picture and after it), each left out when empty.
QByteArray webpWithMetadata(const QByteArray& still, quint8 flags, const QByteArray& icc, const QByteArray& exif)
{
    QByteArray image;
    int width = 0;
    int height = 0;
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
    return riffFile(extendedHeader(flags, width, height) + (icc.isEmpty() ? QByteArray() : riffChunk("ICCP", icc))
                    + image + (exif.isEmpty() ? QByteArray() : riffChunk("EXIF", exif)));
}

} // namespace

QByteArray webpWithExifOrientation(const QByteArray& still, quint16 orientation)
{
    return webpWithMetadata(still, 0x08, {}, exifBlock(orientation).mid(6)); // less "Exif\0\0"
}

QByteArray webpWithIccProfile(const QByteArray& still, const QByteArray& icc)
{
    return webpWithMetadata(still, 0x20, icc, {});
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

QByteArray pngWithIccProfile(const QByteArray& png, const QByteArray& icc)
{
    // The profile's name, deflate, then the zlib stream (qCompress puts
    // the data's length before it).
    return pngWithChunk(png, "iCCP", QByteArray("profile\0\0", 9) + qCompress(icc).mid(4));
}

QByteArray jpegTiff(const QByteArray& jpeg, int width, int height, qint64 stripBytes, bool colour, int sizeType)
{
    const QByteArray strip = stripBytes >= 0 ? jpeg.left(stripBytes) : jpeg;
    TiffMaker tiff;
    tiff.add(256, sizeType, {width});
    tiff.add(257, sizeType, {height});
    if (colour)
        tiff.add(258, 3, {8, 8, 8}); // bits per sample
    else
        tiff.add(258, 3, {8});
    tiff.add(259, 3, {7});              // JPEG
    tiff.add(262, 3, {colour ? 6 : 1}); // YCbCr, or black is zero
    tiff.addDataOffset();
    tiff.add(277, 3, {colour ? 3 : 1}); // samples a pixel
    tiff.add(278, 4, {height});
    tiff.add(279, 4, {strip.size()});
    if (colour)
        tiff.add(530, 3, {2, 2}); // chroma halved both ways, as the JPEG stores it
    return tiff.file(strip);
}

QByteArray deflateTiffClaiming(int width, int height, int sizeType)
{
    // A stream of zeros that stops after 300 bytes, a few hundred KB into
    // the picture.
    const QByteArray strip = qCompress(QByteArray(1 << 20, '\0'), 9).mid(4).left(300);
    TiffMaker tiff;
    tiff.add(256, sizeType, {width});
    tiff.add(257, sizeType, {height});
    tiff.add(258, 3, {8});
    tiff.add(259, 3, {8}); // Deflate
    tiff.add(262, 3, {1});
    tiff.addDataOffset();
    tiff.add(278, 4, {height});
    tiff.add(279, 4, {strip.size()});
    return tiff.file(strip);
}

QByteArray jpegSegment(int marker, const QByteArray& body)
{
    QByteArray segment;
    appendJpegSegment(segment, quint8(marker), body);
    return segment;
}

QByteArray jpegWithSegments(const QByteArray& jpeg, const QByteArray& segments)
{
    return jpeg.left(2) + segments + jpeg.mid(2);
}

QByteArray jpegIccSegment(const QByteArray& icc)
{
    return jpegSegment(0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + icc);
}

} // namespace zephrin::testing

namespace zephrin::testing {

QRgb paletteColour(int index) { return qRgb(index * 37 % 256, 255 - index * 11 % 256, index * 101 % 256); }

namespace {

// `indices` as rows of `bits` a pixel, most significant first, each row
// padded to whole bytes and then to a multiple of `rowAlign` bytes.
QByteArray packedRows(int width, int height, int bits, const std::vector<quint8>& indices, int rowAlign,
                      const QByteArray& rowStart = {})
{
    const int rowBytes = ((width * bits + 7) / 8 + rowAlign - 1) / rowAlign * rowAlign;
    QByteArray rows;
    for (int y = 0; y < height; ++y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const int bit = x * bits;
            const int shift = 8 - bits - bit % 8;
            row[bit / 8] = char(quint8(row[bit / 8]) | (indices[size_t(y) * size_t(width) + size_t(x)] << shift));
        }
        rows += rowStart + row;
    }
    return rows;
}

} // namespace

QByteArray palettePng(int width, int height, int bitDepth, int entries, const std::vector<quint8>& indices)
{
    QByteArray header("IHDR");
    appendBig32(header, quint32(width));
    appendBig32(header, quint32(height));
    header.append(char(bitDepth)).append("\x03\x00\x00\x00", 4); // palette, not interlaced
    QByteArray palette("PLTE");
    for (int i = 0; i < entries; ++i) {
        const QRgb colour = paletteColour(i);
        palette.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    }
    const QByteArray rows = packedRows(width, height, bitDepth, indices, 1, QByteArray(1, '\0')); // filter 0
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    appendPngChunk(png, header);
    appendPngChunk(png, palette);
    appendPngChunk(png, QByteArray("IDAT") + qCompress(rows, 6).mid(4)); // less qCompress's length prefix
    appendPngChunk(png, QByteArray("IEND"));
    return png;
}

QByteArray indexedBmp(int width, int height, int bits, int colours, const std::vector<quint8>& indices)
{
    const int stored = colours > 0 ? colours : 1 << bits;
    QByteArray palette;
    for (int i = 0; i < stored; ++i) {
        const QRgb colour = paletteColour(i);
        palette.append(char(qBlue(colour))).append(char(qGreen(colour))).append(char(qRed(colour))).append('\0');
    }
    // Rows bottom first, as a positive height says.
    std::vector<quint8> bottomUp;
    for (int y = height - 1; y >= 0; --y)
        bottomUp.insert(bottomUp.end(), indices.begin() + qsizetype(y) * width,
                        indices.begin() + qsizetype(y + 1) * width);
    return bmpFile(width, height, bits, 0, palette, quint32(colours), packedRows(width, height, bits, bottomUp, 4));
}

} // namespace zephrin::testing
