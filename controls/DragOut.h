#pragma once
// DragOut (QML singleton): drags a finished result out of the application, as
// a PNG file (DragOutFile.h) and as PNG data; when the file cannot be written
// the data alone is offered. Every drag also carries a mark of this process
// (sourceFormat), so the window's own drop targets can refuse a drag that
// started in it.

#include <QByteArray>
#include <QObject>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

#include <optional>

class QMimeData;

namespace zephrin {

class DragOutQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(DragOut)
    QML_SINGLETON
    // The format of the mark; a drop reads it with getDataAsString.
    Q_PROPERTY(QString sourceFormat READ sourceFormat CONSTANT)

public:
    using QObject::QObject;

    static QString sourceFormat();
    // Whether a drag's mark (its data in sourceFormat) is this process's.
    Q_INVOKABLE static bool startedHere(const QString& mark);
    // What a drag carries: the file's URL (when there is a file), the PNG
    // and the mark.
    static QMimeData* mimeData(const QByteArray& png, const std::optional<QString>& file);

    // Writes the file a drag offers (DragOutFile.h); none when it cannot be
    // written. Any thread: the GUI thread should not wait for the disk.
    static std::optional<QString> writeFile(const QByteArray& png, const QString& fileName);
    // Starts the drag from `source`, offering the file when there is one and
    // the PNG data always, and returns when it ends; false when it never
    // started (no data or no source).
    static bool start(QQuickItem* source, const QByteArray& png, const std::optional<QString>& file);
};

} // namespace zephrin
