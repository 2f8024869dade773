#include "model/batch/BatchItemList.h"

#include "model/batch/BatchState.h"

namespace zephrin {

namespace {

// Only a done item shows its result: one that is queued, being cut again or
// failed this time shows its source, even when an earlier run left a result.
bool showsResult(const BatchItem& item)
{
    return item.status.kind == BatchItemStatus::Kind::done && !item.resultThumbnail.isNull();
}

} // namespace

BatchItemList::BatchItemList(const BatchState& batch, QObject* parent) : QAbstractListModel(parent), m_batch(batch) {}

int BatchItemList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_batch.itemsInOrder().size());
}

QHash<int, QByteArray> BatchItemList::roleNames() const
{
    return {{IdRole, "itemId"},
            {UrlRole, "url"},
            {FileNameRole, "fileName"},
            {BaseNameRole, "baseName"},
            {StatusRole, "status"},
            {MessageRole, "message"},
            {ThumbnailRole, "thumbnail"},
            {ShowsResultRole, "showsResult"},
            {HasOutputRole, "hasOutput"}};
}

QVariant BatchItemList::data(const QModelIndex& index, int role) const
{
    const auto& items = m_batch.itemsInOrder();
    if (!index.isValid() || index.row() < 0 || index.row() >= int(items.size()))
        return {};
    const BatchItem& item = items[std::size_t(index.row())];
    switch (role) {
    case IdRole: return item.id.toString(QUuid::WithoutBraces);
    case UrlRole: return item.url;
    case FileNameRole: return item.fileName();
    case BaseNameRole: return item.baseName();
    case StatusRole: return item.status.name();
    case MessageRole: return item.status.message;
    case ThumbnailRole: return showsResult(item) ? item.resultThumbnail : item.sourceThumbnail;
    case ShowsResultRole: return showsResult(item);
    case HasOutputRole: return item.output.has_value();
    default: return {};
    }
}

void BatchItemList::aboutToAppend(int first, int last) { beginInsertRows({}, first, last); }

void BatchItemList::appended() { endInsertRows(); }

void BatchItemList::changed(int row)
{
    emit dataChanged(index(row), index(row));
}

void BatchItemList::aboutToReset() { beginResetModel(); }

void BatchItemList::reset() { endResetModel(); }

} // namespace zephrin
