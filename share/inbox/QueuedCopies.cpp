#include "share/inbox/QueuedCopies.h"

#include "share/files/PrivateFolder.h"
#include "share/handoff/ImageKind.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/InboxName.h"
#include "share/inbox/OriginalName.h"

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

bool isQueuedCopy(const QString& folder, const QString& path)
{
    const QFileInfo info(path);
    return !info.isSymLink() && info.isFile() && isCopyFolder(folder, QFileInfo(info.absolutePath()));
}

void dropQueuedCopy(const QString& folder, const QString& copy)
{
    if (!isQueuedCopy(folder, copy))
        return;
    const QFileInfo info(copy);
    QFile::remove(info.filePath());
    QDir().rmdir(info.absolutePath());
}

int returnLeftBehindFiles()
{
    const std::optional<QString> inbox = sharedInboxFolder();
    const std::optional<QString> queued = queuedCopiesFolder();
    if (!inbox || !queued)
        return 0;
    return returnLeftBehind(*inbox, QFileInfo(*queued).absolutePath(), *queued);
}

int returnLeftBehind(const QString& inbox, const QString& incoming, const QString& queued)
{
    int returned = 0;
    const auto putBack = [&](const QFileInfo& file, const QString& name) {
        // QFile::rename never replaces a file; across file systems it copies.
        if (!file.isSymLink() && file.isFile() && isInboxFileName(name)
            && QFile::rename(file.filePath(), QDir(inbox).filePath(name)))
            ++returned;
    };
    const QDir::Filters files = QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    for (const QFileInfo& taken : QDir(incoming).entryInfoList(files))
        if (isInboxFileName(taken.fileName()))
            putBack(taken, taken.fileName());
    for (const QFileInfo& entry : QDir(queued).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (!isCopyFolder(queued, entry))
            continue;
        for (const QFileInfo& copy : QDir(entry.absoluteFilePath()).entryInfoList(files)) {
            if (!copy.isSymLink() && copy.isFile() && !originalName(copy.filePath()))
                recordOrigin(copy.filePath(), copy.filePath());
            putBack(copy, makeInboxFileName(copy.suffix()));
        }
        QDir().rmdir(entry.absoluteFilePath());
    }
    return returned;
}

} // namespace zephrin
