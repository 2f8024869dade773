#pragma once
// The font rows' previews as images of QML:
// "image://fontpreview/<font id>?ink=<rrggbb>", answered asynchronously by the
// font library (from memory, the fonts folder or the server) and drawn in the
// ink the URL names (FontPreviewInk.h). FontPreviews, a QML singleton,
// installs the provider in its engine when it is first used and names the
// source of a font's preview. The provider is a StoreImageProvider, so its
// requests end however the engine or the row goes.

#include <QColor>
#include <QFuture>
#include <QImage>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace zephrin {

class FontLibrary;

// The picture of one request, "<font id>?ink=<rrggbb>" (without an ink the
// preview keeps the catalogue's); called on the library's thread, finishes
// with a null image when the font has no preview.
QFuture<QImage> fontPreviewImage(FontLibrary& library, const QString& request);

class FontPreviews : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // Made through create() only (a default constructor would be preferred
    // to it and leave the engine without the provider).
    static FontPreviews* create(QQmlEngine* qmlEngine, QJSEngine* jsEngine);

    // The image source of a font's preview, drawn in `ink`.
    Q_INVOKABLE QString source(const QString& fontID, const QColor& ink) const;

private:
    explicit FontPreviews(QObject* parent) : QObject(parent) {}
};

} // namespace zephrin
