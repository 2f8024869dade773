#pragma once
// The tiles of a picker grid as a list model addressed by id. A new list is
// told to the views as the rows that left, the rows that came and the rows
// whose data changed, so the tiles that stay keep their delegates (and their
// loaded thumbnails) through a filter change, a delete or a rename; only a
// new order of the tiles that stay resets the model.

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
    // Removes the rows whose ids `tiles` lacks; false, with nothing changed,
    // when the rows that stay are in another order there.
    bool removeLeaving(const QList<Tile>& tiles);
    void insertComing(const QList<Tile>& tiles);

    QList<Tile> m_tiles;
};

} // namespace zephrin
