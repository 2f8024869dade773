#include "content/files/ImageFiles.h"

#include <QFile>

namespace zephrin {

namespace {

constexpr qint64 kMaxFileBytes = qint64(256) << 20;

} // namespace

std::optional<Image> decodeImage(const QByteArray& data, const ReadLimits& limits)
{
    return readImage(data, limits).image;
}

std::optional<Image> readImageFile(const QString& path, const ReadLimits& limits)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return std::nullopt;
    return decodeImage(file.readAll(), limits);
}

} // namespace zephrin
