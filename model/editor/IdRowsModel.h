#pragma once
// A list model whose rows are values addressed by id (text layers, sticker
// designs): followIds() brings the rows to the ids as they now stand, so that
// a delegate keeps its state across changes of its own value.

#include <QAbstractListModel>
#include <QList>
#include <QUuid>

namespace zephrin {

class IdRowsModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;

protected:
    // Removed ids leave, new ones arrive where they stand, the rest report
    // that their data changed. A reordering resets the list.
    void followIds(const QList<QUuid>& ids);

    QList<QUuid> m_ids;   // the rows as shown
};

} // namespace zephrin
