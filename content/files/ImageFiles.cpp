#include "content/files/ImageFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace zephrin {

namespace {

std::optional<Image> readFrom(QIODevice* device)
{
    QImageReader reader(device);
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return imageFromQImage(image);
}

} // namespace

std::optional<Image> decodeImage(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readFrom(&buffer);
}

std::optional<Image> readImageFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readFrom(&file);
}

} // namespace zephrin
