#include "share/inbox/QueuedCopies.h"

#include "share/files/PrivateFolder.h"
#include "share/handoff/ImageKind.h"
#include "share/inbox/InboxFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <unistd.h>

namespace zephrin {

namespace {

constexpr qsizetype kMaxNameBytes = 255;

// A folder copyForQueue makes: named by a UUID, directly inside `folder`.
bool isCopyFolder(const QString& folder, const QFileInfo& info)
{
    return !QUuid::fromString(info.fileName()).isNull() && !info.isSymLink() && info.isDir()
           && QFileInfo(info.absolutePath()) == QFileInfo(folder);
}

} // namespace

std::optional<QString> queuedCopiesFolder()
{
    const std::optional<QString> inbox = sharedInboxFolder();
    if (!inbox)
        return std::nullopt;
    return QDir::cleanPath(QFileInfo(*inbox + QStringLiteral("/../Incoming/Queued")).absoluteFilePath());
}

QString queuedName(const std::optional<QString>& sharedName, const QString& waitingFile)
{
    QString name = sharedName.value_or(QString());
    // No hidden file: a name of dots alone would leave nothing to show.
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QStringLiteral("Shared image");
    QString extension;
    if (!isImageFileName(name))
        extension = u'.' + QFileInfo(waitingFile).suffix();
    else {
        const qsizetype dot = name.lastIndexOf(u'.');
        extension = name.mid(dot);
        name.truncate(dot);
    }
    while (!name.isEmpty() && QFile::encodeName(name + extension).size() > kMaxNameBytes) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return (name.isEmpty() ? QStringLiteral("Shared image") : name) + extension;
}

std::optional<QString> copyForQueue(const QString& path, const QString& name, const QString& folder)
{
    const QFileInfo source(path);
    if (source.isSymLink() || !source.isFile() || name.contains(u'/') || !makePrivateFolder(folder))
        return std::nullopt;
    const QString own = QDir(folder).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (!makePrivateFolder(own))
        return std::nullopt;
    const QString target = QDir(own).filePath(name);
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) == 0)
        return target;
    if (QFile::copy(path, target) && QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner))
        return target;
    QFile::remove(target);
    QDir().rmdir(own);
    return std::nullopt;
}

void dropQueuedCopy(const QString& folder, const QString& copy)
{
    const QFileInfo info(copy);
    if (info.isSymLink() || !info.isFile() || !isCopyFolder(folder, QFileInfo(info.absolutePath())))
        return;
    QFile::remove(info.filePath());
    QDir().rmdir(info.absolutePath());
}

void dropQueuedCopiesExcept(const QString& folder, const QStringList& kept)
{
    QStringList keptFolders;
    for (const QString& copy : kept)
        keptFolders << QFileInfo(copy).absolutePath();
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (isCopyFolder(folder, entry) && !keptFolders.contains(entry.absoluteFilePath()))
            QDir(entry.absoluteFilePath()).removeRecursively();
    }
}

} // namespace zephrin
