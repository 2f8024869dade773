#include "engine/codec/ImageHead.h"

#include "engine/codec/ReadChecks.h"
#include "engine/codec/WebPEncoder.h"
#include "support/ExifBlock.h"
#include "support/GifWriter.h"
#include "support/HostileImages.h"
#include "support/TiffFiles.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

// A PNG chunk of `type` and `data`, with its CRC.
QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray chunk;
    for (const int shift : {24, 16, 8, 0})
        chunk.append(char(quint32(data.size()) >> shift));
    const QByteArray body = type + data;
    const quint32 crc = crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()));
    chunk.append(body);
    for (const int shift : {24, 16, 8, 0})
        chunk.append(char(crc >> shift));
    return chunk;
}

// The signature and the IHDR chunk of a 64 × 64 RGBA PNG, with the bytes of
// IHDR's data at the keys changed to their values.
QByteArray pngHead(std::initializer_list<std::pair<int, char>> changes = {})
{
    QByteArray header = pngHeaderClaiming(64, 64).mid(16, 13);
    for (const auto& [at, value] : changes)
        header[at] = value;
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + pngChunk("IHDR", header);
}

// The start of a JFIF file, up to its frame header.
const QByteArray kJfif("\xff\xd8\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 20);

// A RIFF form of WebP whose first chunk is `type` and starts with `data`.
QByteArray webpHead(const char* type, const QByteArray& data)
{
    return QByteArray("RIFF\0\0\x01\0WEBP", 12) + type + QByteArray("\0\0\x01\0", 4) + data;
}

} // namespace

// Each of these was read whole, however large the file, before it was refused.
TEST(ImageHead, RefusesWhatNoReaderTakesWhateverFollows)
{
    QByteArray badCrc = pngHead();
    badCrc[30] = char(badCrc[30] ^ 1);
    const QByteArray gif = tinyGifClaiming(64, 64);
    QByteArray gifCodeSize = gif;
    gifCodeSize[13 + 6 + 10] = 12;
    const struct {
        const char* what;
        QByteArray head;
    } cases[] = {
        {"plain text", QByteArray("Remember the milk.\n").repeated(200)},
        {"PNG: zeros after the header", pngHead() + QByteArray(4096, '\0')},
        {"PNG: garbage after the signature", QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(4096, 'g')},
        {"PNG: IHDR's CRC", badCrc + pngChunk("IDAT", QByteArray(64, 'x'))},
        {"PNG: no width", pngHead({{3, 0}}) + pngChunk("IDAT", "x")},
        {"PNG: 16-bit palette", pngHead({{8, 16}, {9, 3}}) + pngChunk("IDAT", "x")},
        {"PNG: a chunk type of no letters", pngHead() + pngChunk("t\x01Xt", "x") + pngChunk("IDAT", "x")},
        {"GIF: zeros after the screen", gif.left(19) + QByteArray(4096, '\0')},
        {"GIF: codes of 12 bits", gifCodeSize},
        {"BMP: text after BM", QByteArray("BMW owners' club: minutes of the meeting\n").repeated(50)},
        {"JPEG: text after the signature", QByteArray("\xff\xd8\xff") + QByteArray("Remember the milk.\n").repeated(200)},
        {"JPEG: a frame of no height", kJfif + QByteArray("\xff\xc0\0\x0b\x08\0\0\0\x10\x01\x01\x11\0", 13) + QByteArray(4096, '\0')},
        {"JPEG: a frame's length not its components'", kJfif + QByteArray("\xff\xc0\0\x0e\x08\0\x10\0\x10\x01\x01\x11\0", 13) + QByteArray(4096, '\0')},
        {"JPEG: a scan before the frame", kJfif + QByteArray("\xff\xda\0\x08\x01\x01\0\0\x3f\0", 10) + QByteArray(4096, '\0')},
        {"JPEG: an end before the frame", kJfif + QByteArray("\xff\xd9", 2) + QByteArray(4096, '\0')},
        {"WebP: zeros after the form", QByteArray("RIFF\0\0\x01\0WEBP", 12) + QByteArray(4096, '\0')},
        {"WebP: lossless without its signature", webpHead("VP8L", QByteArray(4096, 'g'))},
        {"WebP: lossy without its start code", webpHead("VP8 ", QByteArray(4096, '\0'))},
        {"WebP: a form too short for a chunk", QByteArray("RIFF\x04\0\0\0WEBPVP8L\0\0\x01\0\x2f", 21) + QByteArray(4096, '\0')},
        {"TIFF: zeros after the header", QByteArray("II*\0\x08\0\0\0", 8) + QByteArray(4096, '\0')},
        {"TIFF: no first directory", QByteArray("MM\0*\0\0\0\0", 8) + QByteArray(4096, 'x')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(imageHeadRefused(c.head));
        EXPECT_FALSE(readImage(c.head, kPicture).image) << "the reader refuses it too";
    }
}

// Whatever the first bytes leave open is left to the reader: a head cut
// anywhere in a real file, and every form of header the readers take.
TEST(ImageHead, PassesEveryPictureTheReadersTake)
{
    const QImage picture = gradient(40, 30);
    const QByteArray bmp = encoded(picture, "bmp");
    const QByteArray files[] = {
        encoded(picture, "png"),
        encoded(picture.convertToFormat(QImage::Format_Indexed8), "png"),
        encoded(picture, "jpeg"),
        encoded(picture, "tiff"),
        bmp,
        topDownBmp(bmp),
        encoded(picture.convertToFormat(QImage::Format_Mono), "bmp"),
        rleBmpClaiming(16, 16),
        discGif(40, 30, 10),
        clearPng(16, 16),
        pngWithChunk(clearPng(16, 16), "tEXt", QByteArray("Comment\0a picture", 17)),
        jpegWithSegments(encoded(picture, "jpeg"), jpegSegment(0xE1, exifBlock(6)) + jpegSegment(0xFE, "a comment")),
        flatGreyJpeg(64, 48),
        WebPEncoder::encode(imageFromQImage(picture), 80),
        WebPEncoder::encode(imageFromQImage(picture), 100),
        webpWithExifOrientation(WebPEncoder::encode(imageFromQImage(picture), 80), 6),
        animatedWebp(32, 32, {{QRect(0, 0, 32, 32), QSize(32, 32)}}),
        ycbcrTiff(picture.convertToFormat(QImage::Format_RGB888), 2, 2),
        paletteTiff(picture.convertToFormat(QImage::Format_Indexed8), 8),
    };
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.left(16).toHex().toStdString());
        for (const qsizetype cut : {qsizetype(12), qsizetype(40), qsizetype(100), file.size()})
            EXPECT_FALSE(imageHeadRefused(QByteArrayView(file).first(std::min(cut, file.size())))) << cut;
    }
}
