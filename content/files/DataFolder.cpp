#include "content/files/DataFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace zephrin {

QString applicationDataFolder(const QString& name)
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty() || !QDir().mkpath(base))
        base = QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("Zephrin/") + name);
}

} // namespace zephrin
