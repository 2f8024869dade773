#pragma once
// The batch queue as a list model, one row per item in queue order, for the
// grid's tiles. Rows are addressed by the item's id; the batch tells the list
// which rows it appended, changed or dropped, so a tile keeps its delegate
// while its item moves from queued to done.

#include <QAbstractListModel>

namespace zephrin {

class BatchState;

class BatchItemList : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole,
        UrlRole,
        FileNameRole,
        BaseNameRole,
        StatusRole,
        MessageRole,
        ThumbnailRole,      // a done item's result preview, else the source's (null with neither)
        ShowsResultRole,    // whether the thumbnail is the result's
        HasOutputRole,
    };

    explicit BatchItemList(const BatchState& batch, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Called by the batch around its changes.
    void aboutToAppend(int first, int last);
    void appended();
    void changed(int row);
    void aboutToReset();
    void reset();

private:
    const BatchState& m_batch;
};

} // namespace zephrin
