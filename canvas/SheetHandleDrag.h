#pragma once
// The state of one sticker handle on the sheet canvas: idle, dragging (after
// the pointer moved at least 2 points), or waiting after an accepted drop.
// A release pins the copy through the editor; an accepted drop keeps the
// sticker where it was dropped until the layout it started is over, a refused
// one springs back at once. The wait ends with the next render, and also when
// the layout ends without one (it failed, or was cancelled with nothing to
// lay out), so a sticker never hangs at its drop point.
//
// The editor takes no pin while a layout is under way (the render on screen
// may hold copies that are gone): a drop then stays where it was let go and
// is pinned when that layout is over, against the sheet as it then stands.

#include "model/editor/EditorState.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace zephrin {

class SheetHandleDrag : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // The editor (the Editor singleton); any other object counts as none.
    Q_PROPERTY(QObject* editor READ editorObject WRITE setEditorObject NOTIFY editorChanged)
    // A placement map of the editor's sheetLayout ({key, x, y, width, height}).
    Q_PROPERTY(QVariantMap placement READ placement WRITE setPlacement NOTIFY placementChanged)
    Q_PROPERTY(double pointsPerInch READ pointsPerInch WRITE setPointsPerInch NOTIFY pointsPerInchChanged)
    // Where the sticker is shown, relative to its place in the preview.
    Q_PROPERTY(QPointF offset READ offset NOTIFY stateChanged)
    Q_PROPERTY(bool moving READ moving NOTIFY stateChanged)

public:
    // The least pointer travel, in points, that starts a drag.
    static constexpr double kMinimumDistance = 2;

    explicit SheetHandleDrag(QObject* parent = nullptr);

    EditorState* editor() const { return m_editor; }
    void setEditor(EditorState* editor);
    QObject* editorObject() const { return m_editor; }
    void setEditorObject(QObject* editor) { setEditor(qobject_cast<EditorState*>(editor)); }
    QVariantMap placement() const { return m_placement; }
    void setPlacement(const QVariantMap& value);
    double pointsPerInch() const { return m_pointsPerInch; }
    void setPointsPerInch(double value);

    QPointF offset() const;
    bool moving() const { return m_pending.has_value() || m_drag != QPointF(); }

    // Pointer positions in one coordinate space that does not move with the
    // handle (the scene).
    Q_INVOKABLE void press(QPointF position);
    Q_INVOKABLE void move(QPointF position);
    // Ends the drag; true when the copy was pinned at the drop point (not
    // when its pin waits for the layout under way).
    Q_INVOKABLE bool release(QPointF position);
    // The pointer was taken away: back to idle without a pin.
    Q_INVOKABLE void cancel();

signals:
    void editorChanged();
    void placementChanged();
    void pointsPerInchChanged();
    void stateChanged();

private:
    void endWaiting();
    void onLayoutPendingChanged();

    QPointer<EditorState> m_editor;
    QVariantMap m_placement;
    double m_pointsPerInch = 0;
    std::optional<QPointF> m_pressedAt;
    bool m_dragging = false;
    QPointF m_drag;
    std::optional<QPointF> m_pending;
    // A drop let go while a layout was under way: the copy's key and corner.
    struct HeldDrop {
        QString key;
        QPointF corner;
    };
    std::optional<HeldDrop> m_held;
};

} // namespace zephrin
