#include "output/service/CutoutService.h"

#include <QFileInfo>

namespace zephrin::CutoutService {

QByteArray imageFileBytes(QFile& file, FileAccess access)
{
    // Opening a pipe for reading would wait for a writer, and a device may never
    // end: only regular files are opened.
    if (file.fileName().isEmpty() || !QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    // The size of the file as opened; read() makes a buffer of the size asked for.
    const qint64 size = file.size();
    if (size <= 0 || size > kMaxImageFileBytes)
        return {};
    if (access == FileAccess::mapped) {
        if (uchar* mapped = file.map(0, size))
            return QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(size));
    }
    return file.read(size);
}

std::optional<Image> loadImageFile(const QString& path)
{
    QByteArray bytes;
    {
        QFile file(path);
        bytes = imageFileBytes(file, FileAccess::read);
    }
    if (bytes.isEmpty())
        return std::nullopt;
    return loadImage(bytes);
}

} // namespace zephrin::CutoutService
