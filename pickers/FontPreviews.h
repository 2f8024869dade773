#pragma once
// The font rows' previews as images of QML:
// "image://fontpreview/<font id>?ink=<rrggbb>", answered asynchronously by the
// font library (from memory, the fonts folder or the server) and drawn in the
// ink the URL names (FontPreviewInk.h). FontPreviews, a QML singleton,
// installs the provider in its engine when it is first used and names the
// source of a font's preview.

#include <QColor>
#include <QObject>
#include <QQuickAsyncImageProvider>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace zephrin {

class FontLibrary;

class FontPreviewProvider : public QQuickAsyncImageProvider {
public:
    explicit FontPreviewProvider(FontLibrary& library) : m_library(library) {}
    QQuickImageResponse* requestImageResponse(const QString& id, const QSize& requestedSize) override;

private:
    FontLibrary& m_library;
};

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
