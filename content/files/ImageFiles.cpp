#include "content/files/ImageFiles.h"

#include "engine/codec/ImageHead.h"
#include "engine/codec/RegularFileBytes.h"

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
    // A pipe of that name would hold a worker thread for ever.
    // A file its first bytes refuse is read no further.
    const HeadCheck head{kImageHeadBytes, [](QByteArrayView bytes) { return !imageHeadRefused(bytes); }};
    const FileBytes file = regularFileBytes(QFile::encodeName(path).toStdString(), kMaxFileBytes, head);
    if (file.problem)
        return std::nullopt;
    return decodeImage(file.bytes, limits);
}

} // namespace zephrin
