#include "model/editor/StickerItemList.h"

#include "model/editor/EditorState.h"

namespace zephrin {

namespace {

QList<QUuid> idsOf(const std::vector<StickerItem>& items)
{
    QList<QUuid> ids;
    for (const StickerItem& item : items)
        ids.append(item.id);
    return ids;
}

} // namespace

StickerItemList::StickerItemList(EditorState& editor, QObject* parent)
    : IdRowsModel(parent), m_editor(editor)
{
    m_ids = idsOf(editor.sheetItems());
    connect(&editor, &EditorState::sheetItemsChanged, this, &StickerItemList::follow);
}

QHash<int, QByteArray> StickerItemList::roleNames() const
{
    return {{ItemIDRole, "itemID"},
            {NameRole, "name"},
            {ImageRole, "image"},
            {WidthRole, "widthInches"},
            {CountRole, "count"}};
}

QVariant StickerItemList::data(const QModelIndex& index, int role) const
{
    const auto& items = m_editor.sheetItems();
    if (!index.isValid() || index.row() >= int(items.size()))
        return {};
    const StickerItem& item = items[std::size_t(index.row())];
    switch (role) {
    case ItemIDRole:
        return uuidString(item.id);
    case NameRole:
        return item.name;
    case ImageRole:
        return toQImage(item.image.image());
    case WidthRole:
        return item.widthInches;
    case CountRole:
        return qlonglong(item.count);
    default:
        return {};
    }
}

bool StickerItemList::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= m_ids.size())
        return false;
    const QString id = uuidString(m_ids[index.row()]);
    if (role == WidthRole)
        return m_editor.setSheetItemField(id, QStringLiteral("widthInches"), value);
    if (role == CountRole)
        return m_editor.setSheetItemField(id, QStringLiteral("count"), value);
    return false;
}

Qt::ItemFlags StickerItemList::flags(const QModelIndex& index) const
{
    return IdRowsModel::flags(index) | Qt::ItemIsEditable;
}

QImage StickerItemList::imageOf(const QString& id) const
{
    const QUuid uuid = QUuid::fromString(id);
    for (const StickerItem& item : m_editor.sheetItems())
        if (item.id == uuid)
            return toQImage(item.image.image());
    return {};
}

bool StickerItemList::contains(const QString& id) const
{
    return m_ids.contains(QUuid::fromString(id));
}

void StickerItemList::follow()
{
    const int before = int(m_ids.size());
    followIds(idsOf(m_editor.sheetItems()));
    if (int(m_ids.size()) != before)
        emit countChanged();
}

} // namespace zephrin
