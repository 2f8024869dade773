#include "pickers/backdrops/TileList.h"

#include <algorithm>

namespace zephrin {

void TileList::setTiles(const QList<Tile>& tiles)
{
    if (tiles == m_tiles)
        return;
    const int before = count();
    if (removeLeaving(tiles)) {
        insertComing(tiles);
        for (int row = 0; row < count(); ++row) {
            if (m_tiles[row] == tiles[row])
                continue;
            m_tiles[row] = tiles[row];
            emit dataChanged(index(row), index(row));
        }
    } else {
        beginResetModel();
        m_tiles = tiles;
        endResetModel();
    }
    if (count() != before)
        emit countChanged();
}

bool TileList::removeLeaving(const QList<Tile>& tiles)
{
    QHash<QString, int> coming;
    for (int row = 0; row < tiles.size(); ++row)
        coming.insert(tiles[row].id, row);
    int last = -1;
    for (const Tile& tile : m_tiles) {
        const int at = coming.value(tile.id, -1);
        if (at < 0)
            continue;
        if (at < last)
            return false;
        last = at;
    }
    for (int row = count() - 1; row >= 0; --row) {
        if (coming.contains(m_tiles[row].id))
            continue;
        beginRemoveRows({}, row, row);
        m_tiles.removeAt(row);
        endRemoveRows();
    }
    return true;
}

void TileList::insertComing(const QList<Tile>& tiles)
{
    for (int row = 0; row < tiles.size(); ++row) {
        if (row < count() && m_tiles[row].id == tiles[row].id)
            continue;
        beginInsertRows({}, row, row);
        m_tiles.insert(row, tiles[row]);
        endInsertRows();
    }
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
