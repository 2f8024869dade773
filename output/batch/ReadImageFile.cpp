#include "output/batch/ReadImageFile.h"

#include "output/service/CutoutService.h"

#include <QFile>
#include <QFileInfo>

namespace zephrin {

std::optional<Image> readImageFile(const QString& path)
{
    // Opening a pipe for reading would wait for a writer, and a device may never
    // end: only regular files (symbolic links resolved) are opened.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;

    QByteArray bytes;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        // The size of the file as opened; read() makes a buffer of the size asked for.
        const qint64 size = file.size();
        if (size <= 0 || size > kMaxImageFileBytes)
            return std::nullopt;
        bytes = file.read(size);
    }
    if (bytes.isEmpty())
        return std::nullopt;
    return CutoutService::loadImage(bytes);
}

} // namespace zephrin
