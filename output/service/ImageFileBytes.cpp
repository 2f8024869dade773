#include "output/service/CutoutService.h"

#include <QFileInfo>

namespace zephrin::CutoutService {

QByteArray imageFileBytes(QFile& file)
{
    // Opening a pipe for reading would wait for a writer, and a device may never
    // end: only regular files are opened.
    if (file.fileName().isEmpty() || !QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    // The size of the file as opened; read() makes a buffer of the size asked for
    // and gives fewer bytes when the file has shrunk since.
    const qint64 size = file.size();
    if (size <= 0 || size > kMaxImageFileBytes)
        return {};
    return file.read(size);
}

Image decodeUprightFile(const QString& path)
{
    QByteArray bytes;
    {
        QFile file(path);
        bytes = imageFileBytes(file);
    }
    if (bytes.isEmpty())
        throw Failure(FailureKind::unreadable);
    return decodeUpright(bytes);
}

std::optional<Image> loadImageFile(const QString& path)
{
    try {
        return decodeUprightFile(path);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

} // namespace zephrin::CutoutService
