#pragma once
// The text handles' link to the window (QML type TextHandles): it hands the
// overlay's gestures to a TextHandleSession with the overlay's current frame
// and image size, shows the moving layer's sprite, ends text editing where a
// gesture acts on a layer, and, while it is visible, filters the window's key
// presses for Escape, Backspace, Delete and the arrows.
//
// Order of the key filters: Qt asks the filter installed last first. This one
// is (re)installed each time the overlay is shown, which is after the canvas
// installed its own when it was built, so the handles see a key before the
// canvas does. Keys pass untouched while a text field has the focus, and
// while they do not belong to the canvas (CanvasInputGate: a popup or menu is
// open, or the pointer and the focus are elsewhere). A gesture on the handles
// takes the keyboard focus.

#include "canvas/CanvasInputGate.h"
#include "canvas/text/TextHandleSession.h"
#include "model/editor/EditorState.h"

#include <QImage>
#include <QPointer>
#include <QQuickItem>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace zephrin {

class TextHandlesItem : public QQuickItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(TextHandles)
    Q_PROPERTY(zephrin::EditorState* editor READ editor WRITE setEditor NOTIFY editorChanged)
    // The displayed size of the shown image (points) and its pixel size; an
    // empty pixel size stands for the editor's shown image (composite, else
    // cutout, else document) as it is at each event.
    Q_PROPERTY(QSizeF frame READ frame WRITE setFrame NOTIFY frameChanged)
    Q_PROPERTY(QSizeF imageSize READ imageSize WRITE setImageSize NOTIFY imageSizeChanged)
    // The moving layer drawn alone, and its id ("" while nothing moves).
    Q_PROPERTY(QImage sprite READ sprite NOTIFY spriteChanged)
    Q_PROPERTY(QString spriteID READ spriteID NOTIFY spriteChanged)
    // The canvas the handles lie over, where the pointer and the focus count
    // as in the canvas; the item itself when unset.
    Q_PROPERTY(QQuickItem* inputArea READ inputArea WRITE setInputArea NOTIFY inputAreaChanged)

public:
    explicit TextHandlesItem(QQuickItem* parent = nullptr);
    ~TextHandlesItem() override;

    EditorState* editor() const { return m_editor; }
    void setEditor(EditorState* editor);
    QSizeF frame() const { return m_frame; }
    void setFrame(QSizeF frame);
    QSizeF imageSize() const { return m_imageSize; }
    void setImageSize(QSizeF size);
    QImage sprite() const { return m_spriteImage; }
    QString spriteID() const;
    QQuickItem* inputArea() const { return m_gate.area(); }
    void setInputArea(QQuickItem* area);

    // The handle's box in points (at least 24 × 18); 24 × 18 for an unknown id.
    Q_INVOKABLE QSizeF handleSize(const QString& id) const;
    // The sprite's size in points.
    Q_INVOKABLE QSizeF spriteSize() const;

    // Gestures on the handle of layer `id`; translations in points.
    Q_INVOKABLE void tap(const QString& id);
    Q_INVOKABLE void clearSelection();
    Q_INVOKABLE QSizeF moveChanged(const QString& id, double dx, double dy);
    Q_INVOKABLE void moveEnded(const QString& id, double dx, double dy);
    Q_INVOKABLE void resizeChanged(const QString& id, double dx, double dy, bool keepProportion);
    Q_INVOKABLE void resizeEnded(const QString& id);

    // What the key filter does with a key press; true when it was used.
    Q_INVOKABLE bool handleKey(int key, int modifiers);

signals:
    void editorChanged();
    void frameChanged();
    void imageSizeChanged();
    void spriteChanged();
    void inputAreaChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void itemChange(ItemChange change, const ItemChangeData& data) override;

private:
    // Takes the keyboard focus (from a text field being edited, or a control
    // clicked before).
    void takeFocus();
    bool isEditingText() const;
    QSizeF shownImageSize() const;
    void updateKeyFilter();
    void publishSprite();

    EditorState* m_editor = nullptr;
    std::unique_ptr<TextHandleSession> m_session;
    QSizeF m_frame;
    QSizeF m_imageSize;
    QImage m_spriteImage;
    QPointer<QQuickWindow> m_filteredWindow;
    CanvasInputGate m_gate;
};

} // namespace zephrin
