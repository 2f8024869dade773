#include "engine/codec/ImageRead.h"

#include "engine/codec/HeifReader.h"
#include "engine/codec/ImageDataCheck.h"
#include "engine/codec/JpegReader.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>

#include <algorithm>
#include <new>

namespace zephrin {

namespace {

ImageRead failed(ReadFailure why) { return ImageRead{std::nullopt, why}; }

// The memory a decoded picture of this size and format takes, counted at no
// less than four bytes a pixel: narrower formats are widened to RGBA after.
qint64 pictureBytes(QSize size, QImage::Format format)
{
    const int bits = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    return qint64(size.width()) * size.height() * (std::max(bits, 32) / 8);
}

// The readers that honour a scaled size while decoding, so that only the
// smaller picture is ever allocated: SVG always; PNG for 8-bit RGB(A) rows
// that are not interlaced (Qt scales those row by row into ARGB32 or RGB32).
bool decodesAtScaledSize(const QImageReader& reader, QImage::Format format, QByteArrayView bytes)
{
    if (!reader.supportsOption(QImageIOHandler::ScaledSize))
        return false;
    if (reader.format() != "png")
        return true;
    return (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32) && !isInterlacedPng(bytes);
}

// The picture as it leaves every reader: no larger than the limits say, sRGB
// when asked, premultiplied RGBA.
ImageRead finished(QImage picture, const ReadLimits& limits)
{
    if (const QSize bounded = boundedSize(picture.size(), limits.maxLongEdge); bounded != picture.size())
        picture = picture.scaled(bounded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (limits.convertToSRgb && picture.colorSpace().isValid()
        && picture.colorSpace() != QColorSpace(QColorSpace::SRgb))
        picture.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    Image image = imageFromQImage(picture);
    if (image.empty())
        return failed(ReadFailure::unreadable);
    return ImageRead{std::move(image), ReadFailure::unreadable};
}

ImageRead readHeifPicture(QByteArrayView bytes, const ReadLimits& limits)
{
    // libheif decodes at full size only.
    const std::optional<QSize> size = heifSize(bytes);
    if (!size || size->isEmpty())
        return failed(ReadFailure::unreadable);
    if (pictureBytes(*size, QImage::Format_RGBA8888) > limits.maxDecodeBytes)
        return failed(ReadFailure::tooLarge);
    std::optional<QImage> picture = readHeif(bytes, qint64(size->width()) * size->height());
    if (!picture)
        return failed(ReadFailure::unreadable);
    return finished(std::move(*picture), limits);
}

ImageRead readWithQt(QByteArrayView bytes, const ReadLimits& limits)
{
    if (!holdsClaimedPixels(bytes))
        return failed(ReadFailure::unreadable);
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(limits.applyOrientation);

    QImage picture;
    const QSize stored = reader.size();
    if (stored.isValid()) {
        if (stored.isEmpty())
            return failed(ReadFailure::unreadable);
        const QImage::Format format = reader.imageFormat();
        const QSize bounded = boundedSize(stored, limits.maxLongEdge);
        const QSize decoded = decodesAtScaledSize(reader, format, bytes) ? bounded : stored;
        const qint64 needed = pictureBytes(decoded, format);
        if (needed > limits.maxDecodeBytes)
            return failed(ReadFailure::tooLarge);
        if (bounded != stored)
            reader.setScaledSize(bounded);
        // Qt's readers fill a picture handed to them when its size and format
        // are the ones they would allocate, without their own process-wide
        // allocation limit; these limits have been checked instead.
        if (format != QImage::Format_Invalid)
            picture = QImage(decoded, format);
        else if (needed > qint64(QImageReader::allocationLimit()) << 20)
            return failed(ReadFailure::tooLarge);
    }
    if (!reader.read(&picture) || picture.isNull())
        return failed(ReadFailure::unreadable);
    // A size not known beforehand is checked once it is.
    if (!stored.isValid() && pictureBytes(picture.size(), picture.format()) > limits.maxDecodeBytes)
        return failed(ReadFailure::tooLarge);
    return finished(std::move(picture), limits);
}

} // namespace

QSize boundedSize(QSize size, int maxLongEdge)
{
    if (std::max(size.width(), size.height()) <= maxLongEdge)
        return size;
    return size.scaled(maxLongEdge, maxLongEdge, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

ImageRead readImage(QByteArrayView bytes, const ReadLimits& limits)
{
    try {
        if (bytes.isEmpty())
            return failed(ReadFailure::unreadable);
        if (isJpeg(bytes))
            return readJpeg(bytes, limits);
        if (isHeif(bytes))
            return readHeifPicture(bytes, limits);
        return readWithQt(bytes, limits);
    } catch (const std::bad_alloc&) {
        return failed(ReadFailure::tooLarge);
    } catch (const std::exception&) {
        return failed(ReadFailure::unreadable);
    }
}

} // namespace zephrin
