#pragma once
// The text and label layers of an editor's composite settings as a list
// model, for views that show one row per layer (the layer list, the canvas's
// handles). Rows follow comp.texts: a layer added, removed or changed becomes
// one row inserted, removed or changed, so a delegate keeps its state. Each
// row is addressed by the layer's id; a role per field (see SettingsFields.h)
// reads it, and writing a role changes that field through the editor.

#include "model/editor/IdRowsModel.h"

namespace zephrin {

class EditorState;

class TextLayerList : public IdRowsModel {
    Q_OBJECT

public:
    explicit TextLayerList(EditorState& editor, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The row of the layer with that id; -1 when there is none.
    Q_INVOKABLE int rowOf(const QString& id) const;

private:
    void follow();

    EditorState& m_editor;
};

} // namespace zephrin
