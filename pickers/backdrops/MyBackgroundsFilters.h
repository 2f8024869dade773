#pragma once
// The filter chips of My Backgrounds and what each shows, and the selection
// kept to the items that still exist.

#include "content/mybackgrounds/MyBackground.h"

#include <QList>
#include <QSet>
#include <QStringList>

namespace zephrin::mybackgrounds {

// "All", "Favorites", "Imported", "Saved", then "Generated" while some item
// has that source.
QStringList filters(const QList<MyBackground>& items);

// The items a filter shows, in library order; an unknown filter shows all.
QList<MyBackground> visibleItems(const QList<MyBackground>& items, const QString& filter);

// The selected ids that name an item of the library.
QSet<QString> pruned(const QSet<QString>& selection, const QList<MyBackground>& items);

// The bytes of every item.
qint64 totalBytes(const QList<MyBackground>& items);

} // namespace zephrin::mybackgrounds
