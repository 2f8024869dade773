#pragma once
// What the text handles do to the editor, without a window: moving a layer
// (a sprite of it follows the pointer while the composite leaves it out, and
// the position is written once at the end), resizing a label from its corner
// (written on every change), and the keys that act on the selected layer.
// Every write is one change of comp addressed by the layer's id; a layer that
// left comp meanwhile is not written.
//
// The image size is handed in with every event, so a crop or trim while the
// text tool is open never leaves stale geometry behind. Ending text editing
// (taking the keyboard focus from a text field) is the caller's part; the
// functions say when it is due.

#include "engine/pixel/Image.h"
#include "engine/text/TextLayer.h"

#include <QPointF>
#include <QSizeF>
#include <QUuid>

#include <optional>

namespace zephrin {

class EditorState;

class TextHandleSession {
public:
    explicit TextHandleSession(EditorState& editor) : m_editor(editor) {}

    // The layer's box in image pixels; none for an unknown id.
    std::optional<QSizeF> boxSize(QUuid id, QSizeF imageSize) const;

    // A move drag. The first change of a drag (and every change while no
    // sprite could be made) selects the layer, renders its sprite and tells
    // the editor to leave it out of the composite; `startsMove` says whether
    // the next change does that, so the caller can end text editing first.
    // Each change returns the displacement of the box in points.
    bool startsMove(QUuid id) const { return m_moving != id || !m_sprite; }
    QSizeF moveChanged(QUuid id, QPointF translation, QSizeF frame, QSizeF imageSize);
    // Writes the final position (x, then y) when the layer still exists, and
    // in every case ends the drag: all layers drawn again, no sprite.
    void moveEnded(QUuid id, QPointF translation, QSizeF frame, QSizeF imageSize);
    // The sprite of the layer being moved and its id (null when none).
    const std::optional<Image>& sprite() const { return m_sprite; }
    QUuid movingID() const { return m_sprite ? m_moving : QUuid(); }

    // A resize drag of a label's corner: writes shapeW, then shapeH, on every
    // change; at the end clamps the centre so the box lies inside the image.
    // `startsResize` says whether the next change is the drag's first.
    bool startsResize() const { return !m_resizeStart.has_value(); }
    void resizeChanged(QUuid id, QPointF translation, QSizeF frame, QSizeF imageSize, bool keepProportion);
    void resizeEnded(QUuid id, QSizeF imageSize);

    // A key press on the window; true when it was used (swallow it).
    bool handleKey(int key, Qt::KeyboardModifiers modifiers, bool editingText, QSizeF imageSize);
    // Whether handleKey would use the key, without acting on it.
    bool usesKey(int key, Qt::KeyboardModifiers modifiers, bool editingText) const;

private:
    // Writes x, then y (two changes of comp).
    void writeCentre(QUuid id, QPointF centre);
    QSizeF moveBox(QSizeF imageSize);

    EditorState& m_editor;

    // The move in progress: the layer as it stood when the drag began.
    QUuid m_moving;
    std::optional<TextLayer> m_moveLayer;
    std::optional<Image> m_sprite;
    QSizeF m_boxImageSize;   // the image size m_box was measured for
    QSizeF m_box;

    // The resize in progress: (shapeW, shapeH) when it began.
    std::optional<QSizeF> m_resizeStart;
};

} // namespace zephrin
