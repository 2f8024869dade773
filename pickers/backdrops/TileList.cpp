#include "pickers/backdrops/TileList.h"

#include <algorithm>

namespace zephrin {

void TileList::setTiles(const QList<Tile>& tiles)
{
    if (tiles == m_tiles)
        return;
    const bool sameIds = tiles.size() == m_tiles.size() &&
                         std::equal(tiles.begin(), tiles.end(), m_tiles.begin(),
                                    [](const Tile& a, const Tile& b) { return a.id == b.id; });
    if (sameIds) {
        m_tiles = tiles;
        emit dataChanged(index(0), index(count() - 1));
        return;
    }
    const int before = count();
    beginResetModel();
    m_tiles = tiles;
    endResetModel();
    if (count() != before)
        emit countChanged();
}

int TileList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant TileList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const Tile& tile = m_tiles[index.row()];
    switch (role) {
    case IdRole: return tile.id;
    case NameRole: return tile.name;
    case HelpRole: return tile.help;
    case FavoriteRole: return tile.favorite;
    default: return {};
    }
}

QHash<int, QByteArray> TileList::roleNames() const
{
    return {{IdRole, "tileId"}, {NameRole, "name"}, {HelpRole, "tooltip"}, {FavoriteRole, "favorite"}};
}

} // namespace zephrin
