#include "canvas/SheetPlacementRows.h"

#include <QHash>
#include <QSet>

namespace zephrin {

namespace {

QString keyOf(const QVariantMap& placement) { return placement.value(QStringLiteral("key")).toString(); }

} // namespace

void SheetPlacementRows::setPlacements(const QVariantList& value)
{
    if (value == m_placements)
        return;
    m_placements = value;
    QHash<QString, QVariantMap> next;
    QList<QString> order;
    for (const QVariant& entry : value) {
        const QVariantMap placement = entry.toMap();
        const QString key = keyOf(placement);
        if (!next.contains(key))
            order.append(key);
        next.insert(key, placement);
    }
    for (int row = int(m_keys.size()) - 1; row >= 0; --row) {
        if (next.contains(m_keys[row]))
            continue;
        beginRemoveRows({}, row, row);
        m_keys.removeAt(row);
        m_rows.removeAt(row);
        endRemoveRows();
    }
    for (int row = 0; row < m_keys.size(); ++row) {
        QVariantMap& kept = m_rows[row];
        const QVariantMap& fresh = next[m_keys[row]];
        if (kept == fresh)
            continue;
        kept = fresh;
        emit dataChanged(index(row), index(row), {PlacementRole});
    }
    const QSet<QString> shown(m_keys.begin(), m_keys.end());
    for (const QString& key : order) {
        if (shown.contains(key))
            continue;
        const int row = int(m_keys.size());
        beginInsertRows({}, row, row);
        m_keys.append(key);
        m_rows.append(next[key]);
        endInsertRows();
    }
    emit placementsChanged();
}

int SheetPlacementRows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_keys.size());
}

QVariant SheetPlacementRows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_keys.size())
        return {};
    if (role == KeyRole)
        return m_keys[index.row()];
    if (role == PlacementRole)
        return m_rows[index.row()];
    return {};
}

QHash<int, QByteArray> SheetPlacementRows::roleNames() const
{
    return {{KeyRole, "key"}, {PlacementRole, "placement"}};
}

} // namespace zephrin
