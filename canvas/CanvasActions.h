#pragma once
// CanvasActions (QML singleton): what the canvas's QML does beyond layout,
// for the parts without an item of their own: the compare divider's drag,
// dragging the result out, and the formats the empty canvas names.
//
// A drag out never waits on the GUI thread for the result's PNG nor for its
// file: a press asks for the PNG (prepareDragOut), the file is written on a
// worker, and the drag starts when both are there, as long as the button is
// still down (a release calls cancelDragOut).

#include <QObject>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class CanvasActions : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // The formats the empty canvas names: every one the editor opens.
    Q_PROPERTY(QString importableFormats READ importableFormats CONSTANT)

public:
    using QObject::QObject;

    QString importableFormats() const;

    // The compare knob dragged to `x` in a view `width` wide: comparePosition
    // follows, 2 % from either edge at least; ignored while the view has no width.
    Q_INVOKABLE void dragCompare(QObject* editor, double x, double width) const;
    // A press that may become a drag out: the result's PNG is made now.
    Q_INVOKABLE void prepareDragOut(QObject* editor) const;
    // Drags the result out of the canvas from `source` as a PNG file, now or
    // once its PNG is made; false, with the editor's lastError set, when
    // there is nothing to drag.
    Q_INVOKABLE bool dragOut(QObject* editor, QQuickItem* source) const;
    // The button was let go: a drag still waiting does not start.
    Q_INVOKABLE void cancelDragOut() const;
    // Whether a drag waits for its PNG or its file.
    static bool dragOutWaiting();
};

} // namespace zephrin
