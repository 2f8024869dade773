#include "model/editor/FeedbackTexts.h"

#include "engine/types/Plural.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace zephrin::feedback {

QString folderText(const QString& folder, const QString& home)
{
    const QString clean = QDir::cleanPath(folder);
    const QString cleanHome = QDir::cleanPath(home);
    if (cleanHome.isEmpty() || cleanHome == QLatin1String("/"))
        return clean;
    if (clean == cleanHome)
        return QStringLiteral("~");
    if (clean.startsWith(cleanHome + u'/'))
        return u'~' + clean.mid(cleanHome.size());
    return clean;
}

QString savedNotice(const QString& filePath, const QString& home)
{
    const QFileInfo info(filePath);
    return QStringLiteral("Saved %1 to %2").arg(info.fileName(), folderText(info.absolutePath(), home));
}

QString exportedNotice(int files, const QString& folder, const QString& home, const QStringList& renamed)
{
    QString text = QStringLiteral("Exported %1 to %2").arg(plural::count(files, u"file"), folderText(folder, home));
    // Said, or the old file under the name would be taken for the new one.
    if (renamed.size() == 1)
        text += QStringLiteral("; 1 name was taken, so it is %1").arg(renamed.front());
    else if (renamed.size() > 1)
        text += QStringLiteral("; %1 names were taken, so those end in -2, -3 …").arg(renamed.size());
    return text;
}

QString sharedNotice(const QString& filePath)
{
    return QStringLiteral("Ready to share %1").arg(filePath);
}

QString notShownNotice(const QString& path)
{
    return QStringLiteral("No file manager is available to show %1").arg(path);
}

QString saveFailure(const QString& filePath, const QString& reason)
{
    return QStringLiteral("Couldn't save %1: %2.").arg(QFileInfo(filePath).fileName(), reason);
}

} // namespace zephrin::feedback
