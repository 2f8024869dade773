#include "pickers/backdrops/BackdropTexts.h"

#include "controls/ValueText.h"
#include "engine/types/Plural.h"

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
    return QStringLiteral("%1. Each downloads the first time you use it. "
                          "Right-click to keep one in My Backgrounds.")
        .arg(plural::count(shown, u"background"));
}

QStringList customColorLabels(CustomBackdropShape shape)
{
    if (shape == CustomBackdropShape::spotlight)
        return {QStringLiteral("Center"), QStringLiteral("Edge")};
    return {QStringLiteral("Top"), QStringLiteral("Bottom")};
}

QString libraryLine(qsizetype count, qint64 bytes)
{
    return QStringLiteral("%1 · %2").arg(plural::count(count, u"background"), valuetext::fileSize(bytes));
}

QString selectedLine(qsizetype count)
{
    return QStringLiteral("%1 selected").arg(count);
}

namespace {

// "all 12 backgrounds", but "1 background".
QString allBackgrounds(qsizetype count)
{
    return (count == 1 ? QString() : QStringLiteral("all ")) + plural::count(count, u"background");
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
        .arg(QString::number(hidden), plural::word(hidden, u"is", u"are"));
}

QString noTrashLine(qsizetype count)
{
    return count == 1 ? QStringLiteral("There is no Trash here, so it can't be brought back.")
                      : QStringLiteral("There is no Trash here, so they can't be brought back.");
}

} // namespace

QString deleteAllTitle(qsizetype count)
{
    return QStringLiteral("Move %1 to the Trash?").arg(allBackgrounds(count));
}

DeleteQuestion deleteQuestion(DeleteScope scope, qsizetype count, qsizetype hidden, bool trash, const QString& name)
{
    DeleteQuestion question;
    switch (scope) {
    case DeleteScope::selection:
        question.title = trash ? QStringLiteral("Move %1 to the Trash?").arg(plural::count(count, u"background"))
                               : QStringLiteral("Delete %1 permanently?").arg(plural::count(count, u"background"));
        question.acceptText = trash ? QStringLiteral("Move to Trash") : QStringLiteral("Delete Permanently");
        break;
    case DeleteScope::all:
        question.title = trash ? deleteAllTitle(count)
                               : QStringLiteral("Delete %1 permanently?").arg(allBackgrounds(count));
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

} // namespace zephrin::backdroptexts
