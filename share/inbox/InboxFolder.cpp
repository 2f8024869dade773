#include "share/inbox/InboxFolder.h"

#include "share/files/PrivateFolder.h"
#include "share/inbox/HandOffUrl.h"
#include "share/inbox/InboxName.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace zephrin {

namespace {

bool isWaitingFile(const QFileInfo& info)
{
    return isInboxFileName(info.fileName()) && !info.isSymLink() && info.isFile();
}

} // namespace

std::optional<QString> sharedInboxFolder()
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return std::nullopt;
    const QString folder = QDir(dataHome).filePath(QStringLiteral("Zephrin/Inbox"));
    if (!makePrivateFolder(folder))
        return std::nullopt;
    return folder;
}

std::optional<QString> waitingFilePath(const QString& folder, const QString& name)
{
    if (!isInboxFileName(name))
        return std::nullopt;
    const QFileInfo info(QDir(folder).filePath(name));
    if (!isWaitingFile(info))
        return std::nullopt;
    return info.filePath();
}

std::optional<QString> handOffFilePath(const QString& urlText)
{
    const std::optional<QString> name = handOffFileName(urlText);
    if (!name)
        return std::nullopt;
    const std::optional<QString> folder = sharedInboxFolder();
    if (!folder)
        return std::nullopt;
    return waitingFilePath(*folder, *name);
}

QStringList waitingFiles(const QString& folder)
{
    QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    entries.removeIf([](const QFileInfo& entry) { return !isWaitingFile(entry); });
    // An unreadable date is invalid, and an invalid date sorts first.
    std::stable_sort(entries.begin(), entries.end(), [](const QFileInfo& a, const QFileInfo& b) {
        const QDateTime first = a.lastModified();
        const QDateTime second = b.lastModified();
        return first.isValid() != second.isValid() ? !first.isValid() : first < second;
    });
    QStringList files;
    for (const QFileInfo& entry : entries)
        files << entry.filePath();
    return files;
}

bool isHandedOverPath(const QString& path)
{
    const std::optional<QString> folder = sharedInboxFolder();
    const QFileInfo info(path);
    return folder && !path.isEmpty() && isInboxFileName(info.fileName())
        && QFileInfo(info.absolutePath()) == QFileInfo(*folder);
}

bool isWaitingInboxFile(const QString& path)
{
    return isHandedOverPath(path) && isWaitingFile(QFileInfo(path));
}

QStringList waitingInboxFiles()
{
    const std::optional<QString> folder = sharedInboxFolder();
    return folder ? waitingFiles(*folder) : QStringList();
}

void removeWaitingFile(const QString& folder, const QString& path)
{
    const QFileInfo info(path);
    if (QFileInfo(info.absolutePath()) != QFileInfo(folder) || !isWaitingFile(info))
        return;
    QFile::remove(info.filePath());
}

std::optional<QString> takeWaitingFile(const QString& folder, const QString& path, const QString& takenFolder)
{
    const QFileInfo info(path);
    if (QFileInfo(info.absolutePath()) != QFileInfo(folder) || !isWaitingFile(info))
        return std::nullopt;
    if (!makePrivateFolder(takenFolder))
        return std::nullopt;
    QDir taken(takenFolder);
    const QString target = taken.filePath(info.fileName());
    // A rename within one file system; a copy and an unlink across two.
    if (!QFile::rename(info.filePath(), target)) {
        if (!QFile::copy(info.filePath(), target))
            return std::nullopt;
        QFile::remove(info.filePath());
    }
    return target;
}

std::optional<QString> takeHandedOverFile(const QString& path)
{
    const std::optional<QString> folder = sharedInboxFolder();
    if (!folder)
        return std::nullopt;
    return takeWaitingFile(*folder, path, QDir::cleanPath(*folder + QStringLiteral("/../Incoming")));
}

void removeHandedOverFile(const QString& path)
{
    if (const std::optional<QString> folder = sharedInboxFolder())
        removeWaitingFile(*folder, path);
}

} // namespace zephrin
