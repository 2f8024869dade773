#include "content/files/Trash.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace zephrin {

bool trashAvailable()
{
    const QFileInfo dataHome(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return dataHome.isDir() && dataHome.isWritable();
}

bool moveToTrash(const QString& path)
{
    if (!QFile::exists(path))
        return true;
    return trashAvailable() && QFile::moveToTrash(path);
}

} // namespace zephrin
