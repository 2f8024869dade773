#pragma once
// The copies of the sheet's layout as a list model for the sticker handles,
// one row per copy, addressed by the copy's key ("<design id>#<instance>").
// A new layout updates the rows of the copies it keeps in place, so their
// handles (and a drag one of them holds) live on; it removes the rows of
// copies it no longer has and adds new ones at the end. The order of the
// rows means nothing: each handle stands at its own rectangle.
//   placements: the editor's sheetLayout.placements (maps with a key)
//   roles:      key, placement (the map)

#include <QAbstractListModel>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class SheetPlacementRows : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QVariantList placements READ placements WRITE setPlacements NOTIFY placementsChanged)

public:
    enum Role { KeyRole = Qt::UserRole, PlacementRole };

    using QAbstractListModel::QAbstractListModel;

    QVariantList placements() const { return m_placements; }
    void setPlacements(const QVariantList& value);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void placementsChanged();

private:
    QVariantList m_placements;
    QList<QString> m_keys;          // the rows as shown
    QList<QVariantMap> m_rows;
};

} // namespace zephrin
