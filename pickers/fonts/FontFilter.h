#pragma once
// What the font picker shows of the font library, without a window: its chip
// row, the fonts a chip and a search leave, the search prompt, the footer,
// the chip it opens on, and what stands in place of an empty catalogue.

#include "content/fonts/FontItem.h"
#include "content/fonts/FontLibrary.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace zephrin::fontfilter {

inline const QString kFavorites = QStringLiteral("Favorites");
inline const QString kRecent = QStringLiteral("Recent");
inline const QString kAll = QStringLiteral("All");

// "Favorites", "Recent", "All", then the catalogue's categories in order.
QStringList chipTitles(const QStringList& categories);
// What a chip reads: "★ Favorites" for Favorites, else its title.
QString chipLabel(const QString& title);

// The fonts to list, in this order: the chip's fonts (favourites and
// categories in catalogue order, recents newest first, ids missing from the
// catalogue skipped), then those whose name contains the search (trimmed of
// spaces and tabs, case ignored); an empty search keeps them all.
QList<FontItem> shown(const QList<FontItem>& items, const QSet<QString>& favorites, const QStringList& recents,
                      const QString& chip, const QString& search);

// "Search N fonts", N counting the whole catalogue.
QString searchPrompt(qsizetype catalogueSize);
// Below the list: a hint on an empty Favorites chip, else "N fonts · …".
QString footer(const QString& chip, qsizetype shownCount);

// The chip the picker opens on: Favorites when there are favourites and no
// font is in use; otherwise the chip it had.
QString openingChip(const QString& chip, bool hasFavorites, bool hasCurrentFont);

// What stands where the list would be while the catalogue has no fonts.
enum class Empty { none, failed, loading, noFonts };
Empty emptyState(FontLibrary::Status status, bool catalogueEmpty);
// `failure`: what the library says of a load that found no catalogue.
QString emptyText(Empty state, const QString& failure);

} // namespace zephrin::fontfilter
