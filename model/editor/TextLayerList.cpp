#include "model/editor/TextLayerList.h"

#include "model/editor/EditorState.h"
#include "model/qml/SettingsFields.h"

namespace zephrin {

namespace {

const QList<QByteArray>& fieldNames()
{
    static const QList<QByteArray> names = [] {
        QList<QByteArray> list;
        const QVariantMap fields = qml::fieldMap(TextLayer::makeDefault());
        for (auto it = fields.begin(); it != fields.end(); ++it)
            list.append(it.key().toUtf8());
        return list;
    }();
    return names;
}

QList<QUuid> idsOf(const QList<TextLayer>& texts)
{
    QList<QUuid> ids;
    for (const TextLayer& layer : texts)
        ids.append(layer.id);
    return ids;
}

} // namespace

TextLayerList::TextLayerList(EditorState& editor, QObject* parent)
    : QAbstractListModel(parent), m_editor(editor), m_ids(idsOf(editor.comp().texts))
{
    connect(&editor, &EditorState::compChanged, this, &TextLayerList::follow);
}

int TextLayerList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

QHash<int, QByteArray> TextLayerList::roleNames() const
{
    QHash<int, QByteArray> roles;
    for (int i = 0; i < fieldNames().size(); ++i)
        roles.insert(Qt::UserRole + i, fieldNames()[i]);
    return roles;
}

QVariant TextLayerList::data(const QModelIndex& index, int role) const
{
    const int field = role - Qt::UserRole;
    if (!index.isValid() || index.row() >= m_editor.comp().texts.size() || field < 0 || field >= fieldNames().size())
        return {};
    return qml::fieldMap(m_editor.comp().texts[index.row()]).value(QString::fromUtf8(fieldNames()[field]));
}

bool TextLayerList::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int field = role - Qt::UserRole;
    if (!index.isValid() || index.row() >= m_ids.size() || field < 0 || field >= fieldNames().size())
        return false;
    return m_editor.setTextField(m_ids[index.row()].toString(QUuid::WithoutBraces), QString::fromUtf8(fieldNames()[field]),
                                 value);
}

Qt::ItemFlags TextLayerList::flags(const QModelIndex& index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

int TextLayerList::rowOf(const QString& id) const
{
    return int(m_ids.indexOf(QUuid::fromString(id)));
}

// Brings the rows to comp.texts: removed layers leave, new ones arrive where
// they stand, the rest report what changed. A reordering resets the list.
void TextLayerList::follow()
{
    const QList<QUuid> ids = idsOf(m_editor.comp().texts);
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
