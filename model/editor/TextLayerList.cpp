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
    : IdRowsModel(parent), m_editor(editor)
{
    m_ids = idsOf(editor.comp().texts);
    connect(&editor, &EditorState::compChanged, this, &TextLayerList::follow);
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
    return IdRowsModel::flags(index) | Qt::ItemIsEditable;
}

int TextLayerList::rowOf(const QString& id) const
{
    return int(m_ids.indexOf(QUuid::fromString(id)));
}

void TextLayerList::follow()
{
    followIds(idsOf(m_editor.comp().texts));
}

} // namespace zephrin
