#include "output/service/CutoutService.h"

#include "engine/codec/HeifReader.h"
#include "engine/codec/JpegTruncation.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>

#include <algorithm>

namespace zephrin::CutoutService {

namespace {

// Headers claiming more pixels than this are refused unread. Qt's decoders get
// the matching allocation limit (4 bytes a pixel), so a full 8192 × 8192 image,
// 16-bit channels included, passes, and a forged header cannot make the process
// allocate gigabytes.
constexpr qint64 kMaxSourcePixels = qint64(16384) * 16384;
constexpr int kAllocationLimitMB = int(kMaxSourcePixels * 4 / (1024 * 1024));

QSize boundedSize(QSize size)
{
    const int longEdge = std::max(size.width(), size.height());
    if (longEdge <= kMaxLoadedLongEdge)
        return size;
    return size.scaled(kMaxLoadedLongEdge, kMaxLoadedLongEdge, Qt::KeepAspectRatio);
}

std::optional<QImage> readWithQt(QByteArrayView encoded)
{
    // The limit is process-wide in Qt; every caller wants the same one.
    static const bool limitSet = (QImageReader::setAllocationLimit(kAllocationLimitMB), true);
    (void)limitSet;

    QByteArray bytes = QByteArray::fromRawData(encoded.data(), encoded.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (stored.isValid()) {
        if (qint64(stored.width()) * stored.height() > kMaxSourcePixels)
            return std::nullopt;
        // Decoders that can (JPEG) then decode at a reduced size directly.
        if (boundedSize(stored) != stored)
            reader.setScaledSize(boundedSize(stored));
    }
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

std::optional<Image> decodeUpright(QByteArrayView encoded)
{
    if (encoded.isEmpty() || isTruncatedJpeg(encoded))
        return std::nullopt;
    std::optional<QImage> image = isHeif(encoded) ? readHeif(encoded, kMaxSourcePixels) : readWithQt(encoded);
    if (!image)
        return std::nullopt;

    // Readers that cannot scale while decoding, and images whose size was not
    // known in advance, are scaled here.
    if (const QSize bounded = boundedSize(image->size()); bounded != image->size())
        *image = image->scaled(bounded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image->colorSpace().isValid() && image->colorSpace() != QColorSpace(QColorSpace::SRgb))
        image->convertToColorSpace(QColorSpace::SRgb);

    Image loaded = imageFromQImage(*image);
    if (loaded.empty())
        return std::nullopt;
    return loaded;
}

} // namespace

std::optional<Image> loadImage(QByteArrayView encoded)
{
    try {
        return decodeUpright(encoded);
    } catch (const std::exception&) {
        // Out of memory while converting a very large picture: unreadable too.
        return std::nullopt;
    }
}

} // namespace zephrin::CutoutService
