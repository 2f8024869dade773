#pragma once
// The tiles of a picker grid as a list model addressed by id. Setting the same
// ids in the same order again only updates the rows' data, so delegates keep
// their state (and loaded thumbnails) while names or favourites change.

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

struct Tile {
    QString id;
    QString name;     // the caption or the tooltip
    QString help;     // the tooltip
    bool favorite = false;

    friend bool operator==(const Tile&, const Tile&) = default;
};

class TileList : public QAbstractListModel {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { IdRole = Qt::UserRole + 1, NameRole, HelpRole, FavoriteRole };

    using QAbstractListModel::QAbstractListModel;

    void setTiles(const QList<Tile>& tiles);
    const QList<Tile>& tiles() const { return m_tiles; }
    int count() const { return int(m_tiles.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    QList<Tile> m_tiles;
};

} // namespace zephrin
