#pragma once
// CanvasActions (QML singleton): what the canvas's QML does beyond layout,
// for the parts without an item of their own: the compare divider's drag and
// dragging the result out.

#include <QObject>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class CanvasActions : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // The compare knob dragged to `x` in a view `width` wide: comparePosition
    // follows, 2 % from either edge at least; ignored while the view has no width.
    Q_INVOKABLE void dragCompare(QObject* editor, double x, double width) const;
    // Drags the result out of the canvas from `source` as a PNG file; false,
    // with the editor's lastError set, when there is nothing to drag.
    Q_INVOKABLE bool dragOut(QObject* editor, QQuickItem* source) const;
};

} // namespace zephrin
