#pragma once
// What every backdrop grid shares: the editor it picks for and the id of its
// tile that is the editor's current backdrop. A tile is selected only while
// the editor shows a background picture and its backdropID names the tile
// (the grid's prefix, "photo:" or "my:", followed by the tile's id).

#include "model/editor/EditorState.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace zephrin {



// The id of the tile that `backdropID` names for a grid whose ids carry
// `prefix`; empty when the editor has no background picture or it names
// another grid's backdrop.
QString selectedTileID(const QString& backdropID, bool hasBackgroundImage, const QString& prefix);

class BackdropGridState : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QObject* editor READ editorObject WRITE setEditorObject NOTIFY editorChanged)
    Q_PROPERTY(QString selectedID READ selectedID NOTIFY selectedIDChanged)

public:
    BackdropGridState(QString prefix, QObject* parent);

    QObject* editorObject() const;
    void setEditorObject(QObject* editor);
    EditorState* editor() const { return m_editor; }
    QString selectedID() const { return m_selectedID; }

signals:
    void editorChanged();
    void selectedIDChanged();

private:
    void updateSelection();

    const QString m_prefix;
    QPointer<EditorState> m_editor;
    QString m_selectedID;
};

} // namespace zephrin
