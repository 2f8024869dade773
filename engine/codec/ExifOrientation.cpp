#include "engine/codec/ExifOrientation.h"

#include <opencv2/core.hpp>

#include <optional>

namespace zephrin {

namespace {

constexpr qsizetype kExifHeader = 6; // "Exif\0\0"; IFD offsets count from its end
constexpr int kMaxIfds = 10;         // Exif uses at most five
constexpr quint16 kOrientationTag = 0x0112;
constexpr quint16 kShort = 3;

// A TIFF stream with its byte order; reads past the end give nothing.
class TiffReader {
public:
    TiffReader(QByteArrayView bytes, bool bigEndian) : m_bytes(bytes), m_bigEndian(bigEndian) {}

    std::optional<quint32> read(qsizetype at, int size) const
    {
        if (at < 0 || at + size > m_bytes.size())
            return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < size; ++i) {
            const quint32 byte = quint8(m_bytes[at + (m_bigEndian ? i : size - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }

private:
    QByteArrayView m_bytes;
    bool m_bigEndian;
};

const QByteArrayView kExifMark("Exif\0\0", kExifHeader);

// The orientation in a TIFF stream (offsets count from its start).
int tiffOrientation(QByteArrayView tiff)
{
    if (tiff.size() < 8 || (tiff.first(2) != "II" && tiff.first(2) != "MM"))
        return 0;
    const TiffReader reader(tiff, tiff[0] == 'M');
    if (reader.read(2, 2) != 0x2A)
        return 0;

    std::optional<quint32> offset = reader.read(4, 4);
    qsizetype position = 8;
    for (int ifd = 0; ifd < kMaxIfds && offset; ++ifd) {
        // IFDs only move forwards, and must start inside the block.
        if (qsizetype(*offset) < position || qsizetype(*offset) >= tiff.size())
            return 0;
        position = qsizetype(*offset);
        const std::optional<quint32> entries = reader.read(position, 2);
        if (!entries)
            return 0;
        position += 2;
        for (quint32 entry = 0; entry < *entries; ++entry, position += 12) {
            const std::optional<quint32> tag = reader.read(position, 2);
            const std::optional<quint32> type = reader.read(position + 2, 2);
            const std::optional<quint32> count = reader.read(position + 4, 4);
            const std::optional<quint32> value = reader.read(position + 8, 2);
            if (!tag || !type || !count || !value)
                return 0;
            if (*tag == kOrientationTag)
                return *count == 1 && *type == kShort && *value >= 1 && *value <= 8 ? int(*value) : 0;
        }
        offset = reader.read(position, 4);
        position += 4;
        if (offset == 0u)
            return 0;
    }
    return 0;
}

} // namespace

bool isExifBlock(QByteArrayView app1) { return app1.startsWith(kExifMark); }

int exifOrientation(QByteArrayView app1)
{
    return isExifBlock(app1) ? tiffOrientation(app1.sliced(kExifHeader)) : 0;
}

int bareExifOrientation(QByteArrayView block)
{
    return tiffOrientation(block.startsWith(kExifMark) ? block.sliced(kExifHeader) : block);
}

Image uprightImage(const Image& image, int orientation)
{
    cv::Mat pixels;
    switch (orientation) {
    case 2: cv::flip(image.pixels, pixels, 1); break;
    case 3: cv::rotate(image.pixels, pixels, cv::ROTATE_180); break;
    case 4: cv::flip(image.pixels, pixels, 0); break;
    case 5: cv::transpose(image.pixels, pixels); break;
    case 6: cv::rotate(image.pixels, pixels, cv::ROTATE_90_CLOCKWISE); break;
    case 7: { // across the other diagonal
        cv::Mat turned;
        cv::rotate(image.pixels, turned, cv::ROTATE_180);
        cv::transpose(turned, pixels);
        break;
    }
    case 8: cv::rotate(image.pixels, pixels, cv::ROTATE_90_COUNTERCLOCKWISE); break;
    default: pixels = image.pixels.clone(); break;
    }
    return Image(pixels);
}

} // namespace zephrin
