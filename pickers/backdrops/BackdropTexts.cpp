#include "pickers/backdrops/BackdropTexts.h"

#include "controls/ValueText.h"

namespace zephrin::backdroptexts {

QString photoDisplayName(const QString& location)
{
    QString name = location;
    name.replace(u'_', u' ');
    bool wordStart = true;
    for (QChar& c : name) {
        if (c.isSpace()) {
            wordStart = true;
            continue;
        }
        c = wordStart ? c.toUpper() : c.toLower();
        wordStart = false;
    }
    return name;
}

QString photoCountLine(qsizetype shown)
{
    return QStringLiteral("%1 backgrounds. Each downloads the first time you use it. "
                          "Right-click to keep one in My Backgrounds.")
        .arg(shown);
}

QStringList customColorLabels(CustomBackdropShape shape)
{
    if (shape == CustomBackdropShape::spotlight)
        return {QStringLiteral("Center"), QStringLiteral("Edge")};
    return {QStringLiteral("Top"), QStringLiteral("Bottom")};
}

QString libraryLine(qsizetype count, qint64 bytes)
{
    return QStringLiteral("%1 backgrounds · %2").arg(count).arg(valuetext::fileSize(bytes));
}

QString selectedLine(qsizetype count)
{
    return QStringLiteral("%1 selected").arg(count);
}

QString deleteAllTitle(qsizetype count)
{
    return QStringLiteral("Move all %1 backgrounds to the Trash?").arg(count);
}

} // namespace zephrin::backdroptexts
