#include "share/handoff/ShareHandOff.h"

#include "share/handoff/ImageKind.h"
#include "share/handoff/PictureHeader.h"
#include "share/inbox/HandOffUrl.h"
#include "share/inbox/InboxName.h"
#include "share/inbox/OriginalName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zephrin {

namespace {

constexpr qint64 kChunk = 1 << 20;

QString megabytes(qint64 bytes)
{
    return QString::number(bytes / (1024 * 1024)) + QStringLiteral(" MB");
}

// The local file an item names, or none for a URL that is not a local file.
std::optional<QString> localPath(const QString& item)
{
    if (item.startsWith(QLatin1String("file:"))) {
        const QUrl url(item);
        if (!url.isValid() || !url.isLocalFile())
            return std::nullopt;
        return url.toLocalFile();
    }
    if (item.contains(QLatin1String("://")))
        return std::nullopt;
    return item;
}

// Copies one named file; none with `problem` set when it is not usable.
std::optional<QString> handOffFile(const QString& path, const QString& folder, qint64 sizeCap, QString& problem)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        problem = info.exists() ? QStringLiteral("not a regular file") : QStringLiteral("no such file");
        // Bytes of a name that are not UTF-8 arrive as replacement characters,
        // so the file is there but cannot be named through Qt.
        if (!info.exists() && path.contains(QChar::ReplacementCharacter))
            problem = QStringLiteral("its name is not UTF-8 text");
        return std::nullopt;
    }
    // A name whose extension is no image's is passed over unread; every other
    // file is then judged by its bytes.
    const QString extension = info.suffix();
    if (!extension.isEmpty() && !isImageFileName(info.fileName())) {
        problem = QStringLiteral("not an image");
        return std::nullopt;
    }
    if (info.size() > sizeCap) {
        problem = QStringLiteral("larger than ") + megabytes(sizeCap);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("cannot be read");
        return std::nullopt;
    }
    std::optional<QString> name = copyIntoInbox(file, extension, folder, sizeCap, problem);
    // The editor names the document after the source; not knowing it is no failure.
    if (name)
        recordOrigin(QDir(folder).filePath(*name), path);
    return name;
}

} // namespace

std::optional<QString> copyIntoInbox(QIODevice& source, const QString& extension, const QString& folder,
                                     qint64 sizeCap, QString& problem)
{
    QByteArray chunk = source.read(std::min(kChunk, sizeCap + 1));
    if (chunk.isEmpty()) {
        problem = QStringLiteral("empty, so no image");
        return std::nullopt;
    }
    // Data is judged by its bytes whatever its name says: a text file named
    // .png is no picture, and the editor would only refuse it later.
    const QString kind = imageExtensionFromMagic(chunk);
    if (kind.isEmpty() || !holdsReadableHeader(kind, chunk)) {
        problem = QStringLiteral("its contents are not an image");
        return std::nullopt;
    }
    // The name's own extension stays, unless it could not stand in an inbox name.
    const QString chosen = !extension.isEmpty() && isInboxFileName(makeInboxFileName(extension)) ? extension : kind;

    const QString name = makeInboxFileName(chosen);
    QSaveFile target(QDir(folder).filePath(name));
    // For the user alone, as the folder is, from the first byte on.
    if (!target.open(QIODevice::WriteOnly) || !target.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        problem = QStringLiteral("the inbox cannot be written");
        return std::nullopt;
    }
    qint64 total = 0;
    while (!chunk.isEmpty()) {
        total += chunk.size();
        if (total > sizeCap) {
            target.cancelWriting();
            problem = QStringLiteral("larger than ") + megabytes(sizeCap);
            return std::nullopt;
        }
        if (target.write(chunk) != chunk.size()) {
            target.cancelWriting();
            problem = QStringLiteral("the inbox cannot be written");
            return std::nullopt;
        }
        chunk = source.read(kChunk);
    }
    if (const auto* file = qobject_cast<QFileDevice*>(&source); file && file->error() != QFileDevice::NoError) {
        target.cancelWriting();
        problem = QStringLiteral("cannot be read");
        return std::nullopt;
    }
    if (!target.commit()) {
        problem = QStringLiteral("the inbox cannot be written");
        return std::nullopt;
    }
    return name;
}

HandOffResult handOffFirstImage(const QStringList& items, const std::optional<QString>& inboxFolder,
                                QIODevice* standardInput, qint64 sizeCap)
{
    HandOffResult result;
    if (!inboxFolder) {
        result.problems << QStringLiteral("there is no data folder for the inbox");
        return result;
    }
    for (const QString& item : items) {
        QString problem;
        std::optional<QString> name;
        if (item == QLatin1String("-")) {
            if (standardInput)
                name = copyIntoInbox(*standardInput, QString(), *inboxFolder, sizeCap, problem);
            else
                problem = QStringLiteral("no standard input");
        } else if (const std::optional<QString> path = localPath(item)) {
            name = handOffFile(*path, *inboxFolder, sizeCap, problem);
        } else {
            problem = QStringLiteral("not a local file");
        }
        if (name) {
            result.fileName = *name;
            result.url = handOffUrl(*name);
            return result;
        }
        result.problems << (item == QLatin1String("-") ? QStringLiteral("standard input") : item)
                               + QStringLiteral(": ") + problem;
    }
    return result;
}

} // namespace zephrin
