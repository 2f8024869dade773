#include "model/editor/IdRowsModel.h"

namespace zephrin {

int IdRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

void IdRowsModel::followIds(const QList<QUuid>& ids)
{
    for (int row = int(m_ids.size()) - 1; row >= 0; --row) {
        if (ids.contains(m_ids[row]))
            continue;
        beginRemoveRows({}, row, row);
        m_ids.removeAt(row);
        endRemoveRows();
    }
    QList<QUuid> kept;
    for (const QUuid& id : ids)
        if (m_ids.contains(id))
            kept.append(id);
    if (kept != m_ids) {
        beginResetModel();
        m_ids = ids;
        endResetModel();
        return;
    }
    for (int row = 0; row < ids.size(); ++row) {
        if (row < m_ids.size() && m_ids[row] == ids[row])
            continue;
        beginInsertRows({}, row, row);
        m_ids.insert(row, ids[row]);
        endInsertRows();
    }
    if (!m_ids.isEmpty())
        emit dataChanged(index(0), index(int(m_ids.size()) - 1));
}

} // namespace zephrin
