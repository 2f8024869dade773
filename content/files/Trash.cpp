#include "content/files/Trash.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace zephrin {

void moveToTrashOrRemove(const QString& path)
{
    if (!QFile::exists(path))
        return;
    const QFileInfo dataHome(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const bool trashUsable = dataHome.isDir() && dataHome.isWritable();
    if (!trashUsable || !QFile::moveToTrash(path))
        QFile::remove(path);
}

} // namespace zephrin
