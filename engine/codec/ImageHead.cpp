#include "engine/codec/ImageHead.h"

#include "engine/codec/ImageFormat.h"
#include "picturehead/PictureHeadRules.h"

#include <QBuffer>
#include <QImageReader>

namespace zephrin {

namespace {

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
    case ImageFileFormat::png: return !pictureHeadHolds(PictureHeadKind::png, head);
    case ImageFileFormat::jpeg: return !pictureHeadHolds(PictureHeadKind::jpeg, head);
    case ImageFileFormat::gif: return !pictureHeadHolds(PictureHeadKind::gif, head);
    case ImageFileFormat::webp: return !pictureHeadHolds(PictureHeadKind::webp, head);
    case ImageFileFormat::tiff: return !pictureHeadHolds(PictureHeadKind::tiff, head);
    case ImageFileFormat::bmp: return bmpHeadRefused(head);
    case ImageFileFormat::heif: break;
    }
    return false;
}

} // namespace zephrin
