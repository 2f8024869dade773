#pragma once
// The texts of the backdrop pickers that are built from data: display names,
// count lines, dialog titles and the labels that follow a setting.

#include "content/backdrops/CustomBackdropShape.h"

#include <QString>
#include <QStringList>

namespace zephrin::backdroptexts {

// A photo's display name: its location with "_" read as a space and every
// word capitalised ("old_brick_WALL" → "Old Brick Wall").
QString photoDisplayName(const QString& location);

// "12 backgrounds. Each downloads the first time you use it. …"
QString photoCountLine(qsizetype shown);

// The two colour rows of the custom gradient: "Top"/"Bottom" for a fade,
// "Center"/"Edge" for a spotlight.
QStringList customColorLabels(CustomBackdropShape shape);

// "3 backgrounds · 1.2 MB": every item of the library and their bytes.
QString libraryLine(qsizetype count, qint64 bytes);
// "2 selected".
QString selectedLine(qsizetype count);
// "Move all 12 backgrounds to the Trash?"
QString deleteAllTitle(qsizetype count);

// The question before a delete of My Backgrounds: what it removes, and how.
struct DeleteQuestion {
    QString title;
    QString message;  // "" for none
    QString acceptText;

    friend bool operator==(const DeleteQuestion&, const DeleteQuestion&) = default;
};
// Where a delete comes from: the checked items, the whole library, or one
// item's own menu (named by `name`).
enum class DeleteScope { selection, all, one };
// `count` items, `hidden` of them not shown by the current filter; with
// `trash` false nothing can go to the Trash and the delete is for good.
DeleteQuestion deleteQuestion(DeleteScope scope, qsizetype count, qsizetype hidden, bool trash,
                              const QString& name = {});

} // namespace zephrin::backdroptexts
