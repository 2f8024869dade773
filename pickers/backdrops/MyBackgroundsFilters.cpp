#include "pickers/backdrops/MyBackgroundsFilters.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace zephrin::mybackgrounds {

namespace {

bool hasSource(const MyBackground& item, QLatin1String source)
{
    return item.source == source;
}

} // namespace

QStringList filters(const QList<MyBackground>& items)
{
    QStringList titles{QStringLiteral("All"), QStringLiteral("Favorites"), QStringLiteral("Imported"),
                       QStringLiteral("Saved")};
    if (std::any_of(items.begin(), items.end(),
                    [](const MyBackground& item) { return hasSource(item, QLatin1String("generated")); }))
        titles << QStringLiteral("Generated");
    return titles;
}

QList<MyBackground> visibleItems(const QList<MyBackground>& items, const QString& filter)
{
    std::function<bool(const MyBackground&)> shows;
    if (filter == QLatin1String("Favorites"))
        shows = [](const MyBackground& item) { return item.favorite; };
    else if (filter == QLatin1String("Imported"))
        shows = [](const MyBackground& item) { return hasSource(item, QLatin1String("imported")); };
    else if (filter == QLatin1String("Saved"))
        shows = [](const MyBackground& item) { return hasSource(item, QLatin1String("saved")); };
    else if (filter == QLatin1String("Generated"))
        shows = [](const MyBackground& item) { return hasSource(item, QLatin1String("generated")); };
    else
        return items;
    QList<MyBackground> shown;
    std::copy_if(items.begin(), items.end(), std::back_inserter(shown), shows);
    return shown;
}

QSet<QString> pruned(const QSet<QString>& selection, const QList<MyBackground>& items)
{
    QSet<QString> kept;
    for (const MyBackground& item : items)
        if (selection.contains(item.id))
            kept.insert(item.id);
    return kept;
}

qint64 totalBytes(const QList<MyBackground>& items)
{
    qint64 total = 0;
    for (const MyBackground& item : items)
        total += item.bytes;
    return total;
}

} // namespace zephrin::mybackgrounds
