#include "pickers/fonts/FontFilter.h"

#include "engine/types/Plural.h"

namespace zephrin::fontfilter {

namespace {

QString trimmedSearch(const QString& search)
{
    qsizetype begin = 0;
    qsizetype end = search.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(search[begin]))
        ++begin;
    while (end > begin && blank(search[end - 1]))
        --end;
    return search.mid(begin, end - begin).toLower();
}

QList<FontItem> chipFonts(const QList<FontItem>& items, const QSet<QString>& favorites, const QStringList& recents,
                          const QString& chip)
{
    QList<FontItem> result;
    if (chip == kRecent) {
        for (const QString& id : recents)
            for (const FontItem& item : items)
                if (item.id == id) {
                    result.append(item);
                    break;
                }
        return result;
    }
    if (chip == kAll)
        return items;
    for (const FontItem& item : items)
        if (chip == kFavorites ? favorites.contains(item.id) : item.category == chip)
            result.append(item);
    return result;
}

} // namespace

QStringList chipTitles(const QStringList& categories)
{
    return QStringList{kFavorites, kRecent, kAll} + categories;
}

QString chipLabel(const QString& title)
{
    return title == kFavorites ? QStringLiteral("★ Favorites") : title;
}

QList<FontItem> shown(const QList<FontItem>& items, const QSet<QString>& favorites, const QStringList& recents,
                      const QString& chip, const QString& search)
{
    const QList<FontItem> fonts = chipFonts(items, favorites, recents, chip);
    const QString needle = trimmedSearch(search);
    if (needle.isEmpty())
        return fonts;
    QList<FontItem> result;
    for (const FontItem& item : fonts)
        if (item.name.toLower().contains(needle))
            result.append(item);
    return result;
}

QString searchPrompt(qsizetype catalogueSize)
{
    return QStringLiteral("Search ") + plural::count(catalogueSize, u"font");
}

QString footer(const QString& chip, qsizetype shownCount)
{
    if (chip == kFavorites && shownCount == 0)
        return QStringLiteral("Tap the heart on any font to add it here.");
    return plural::count(shownCount, u"font") + QStringLiteral(" · open-licensed (OFL / Apache)");
}

QString openingChip(const QString& chip, bool hasFavorites, bool hasCurrentFont)
{
    return hasFavorites && !hasCurrentFont ? kFavorites : chip;
}

Empty emptyState(FontLibrary::Status status, bool catalogueEmpty)
{
    if (!catalogueEmpty)
        return Empty::none;
    switch (status) {
    case FontLibrary::Status::failed: return Empty::failed;
    case FontLibrary::Status::ready: return Empty::noFonts;
    case FontLibrary::Status::idle:
    case FontLibrary::Status::loading: return Empty::loading;
    }
    return Empty::loading;
}

QString emptyText(Empty state, const QString& failure)
{
    switch (state) {
    case Empty::none: return {};
    case Empty::failed: return failure;
    case Empty::loading: return QStringLiteral("Loading fonts…");
    case Empty::noFonts: return QStringLiteral("No fonts available.");
    }
    return {};
}

} // namespace zephrin::fontfilter
