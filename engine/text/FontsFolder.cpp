#include "engine/text/FontsFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace zephrin {

QString fontsFolder()
{
    // The data folder itself may be created; a missing one that can't be made
    // counts as unavailable.
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty() || !QDir().mkpath(base))
        base = QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("Zephrin/Fonts"));
}

} // namespace zephrin
