#include "controls/DragOutFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace zephrin {

QString sanitizedFileName(const QString& name)
{
    constexpr qsizetype kLongest = 120;
    QString clean;
    for (QChar c : name) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            continue;
        clean += c;
    }
    while (!clean.isEmpty() && (clean.front() == u'.' || clean.front().isSpace()))
        clean.remove(0, 1);
    clean = clean.left(kLongest).trimmed();
    return clean.isEmpty() ? QStringLiteral("cutout") : clean;
}

std::optional<QString> dragFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return std::nullopt;
    const QString folder = QDir(runtime).filePath(QStringLiteral("zephrin-drag"));
    if (!QDir().mkpath(folder))
        return std::nullopt;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

std::optional<QString> writeDragFile(const QString& folder, const QByteArray& png, const QString& name)
{
    if (png.isEmpty())
        return std::nullopt;
    const QString path = QDir(folder).filePath(sanitizedFileName(name) + QStringLiteral(".png"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit())
        return std::nullopt;
    return path;
}

} // namespace zephrin
