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

namespace {

QString backgrounds(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 background") : QStringLiteral("%1 backgrounds").arg(count);
}

QString hiddenLine(qsizetype count, qsizetype hidden)
{
    if (hidden <= 0)
        return {};
    if (count == 1)
        return QStringLiteral("It is hidden by the current filter.");
    if (hidden == count)
        return QStringLiteral("All of them are hidden by the current filter.");
    return QStringLiteral("%1 of them %2 hidden by the current filter.")
        .arg(hidden)
        .arg(hidden == 1 ? QStringLiteral("is") : QStringLiteral("are"));
}

QString noTrashLine(qsizetype count)
{
    return count == 1 ? QStringLiteral("There is no Trash here, so it can't be brought back.")
                      : QStringLiteral("There is no Trash here, so they can't be brought back.");
}

} // namespace

DeleteQuestion deleteQuestion(DeleteScope scope, qsizetype count, qsizetype hidden, bool trash, const QString& name)
{
    DeleteQuestion question;
    switch (scope) {
    case DeleteScope::selection:
        question.title = trash ? QStringLiteral("Move %1 to the Trash?").arg(backgrounds(count))
                               : QStringLiteral("Delete %1 permanently?").arg(backgrounds(count));
        question.acceptText = trash ? QStringLiteral("Move to Trash") : QStringLiteral("Delete Permanently");
        break;
    case DeleteScope::all:
        question.title = trash ? deleteAllTitle(count)
                               : QStringLiteral("Delete all %1 backgrounds permanently?").arg(count);
        question.acceptText = trash ? QStringLiteral("Move All to Trash") : QStringLiteral("Delete All Permanently");
        hidden = 0;  // the title says "all"
        break;
    case DeleteScope::one:
        question.title = trash ? QStringLiteral("Move “%1” to the Trash?").arg(name)
                               : QStringLiteral("Delete “%1” permanently?").arg(name);
        question.acceptText = trash ? QStringLiteral("Move to Trash") : QStringLiteral("Delete Permanently");
        break;
    }
    QStringList lines{hiddenLine(count, hidden)};
    if (!trash)
        lines.append(noTrashLine(count));
    lines.removeAll(QString());
    question.message = lines.join(u' ');
    return question;
}

QString noFileManagerNotice()
{
    return QStringLiteral("No file manager is available to show the folder.");
}

} // namespace zephrin::backdroptexts
