#pragma once
// DragOut (QML singleton): drags a finished result out of the application, as
// a PNG file (DragOutFile.h) and as PNG data. The file exists before the drag
// begins; with nothing to drag no drag starts.

#include <QByteArray>
#include <QObject>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class DragOutQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(DragOut)
    QML_SINGLETON

public:
    using QObject::QObject;

    // Starts the drag from `source` and returns when it ends; false when it
    // never started (no data, or the file could not be written).
    Q_INVOKABLE bool start(QQuickItem* source, const QByteArray& png, const QString& fileName);
};

} // namespace zephrin
