#pragma once
// The designs of an editor's sticker sheet as a list model, one row per
// design in sheetItems order, for the sheet panel's rows. Rows are addressed
// by the design's id, so a row's delegate (and the field being typed into)
// survives the layouts that follow every edit. Roles: itemID, name, image
// (the design's picture), widthInches, count; writing widthInches or count
// changes that design through the editor.

#include "model/editor/IdRowsModel.h"

#include <QImage>

namespace zephrin {

class EditorState;

class StickerItemList : public IdRowsModel {
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)

public:
    enum Role { ItemIDRole = Qt::UserRole, NameRole, ImageRole, WidthRole, CountRole };

    explicit StickerItemList(EditorState& editor, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The picture of the design with that id; a null image for none.
    Q_INVOKABLE QImage imageOf(const QString& id) const;
    // Whether a design with that id is on the sheet.
    Q_INVOKABLE bool contains(const QString& id) const;

signals:
    void countChanged();

private:
    void follow();

    EditorState& m_editor;
};

} // namespace zephrin
