#pragma once
// Thumbnails of the backdrop grids for QML, one asynchronous image provider
// per store:
//
//     image://backdrop/<preset id>     a generated backdrop (168 × 120)
//     image://photo/<photo id>         the photo library's thumbnail
//     image://mybackground/<item id>   a My Backgrounds thumbnail
//
// Each answers from its store's cache, and otherwise from the store's own
// loading on its worker pools: nothing is decoded or rendered on the GUI
// thread or on the engine's image thread. A missing picture ends the request
// with an error (the tile keeps its plain fill), and so does the engine's
// cancelling it when its tile or the engine itself goes: no request outlives
// the engine that made it.

#include <QHash>
#include <QObject>
#include <QFuture>
#include <QImage>
#include <functional>
#include <QQuickAsyncImageProvider>

namespace zephrin {

class MyBackgroundsStore;
class PhotoBackdropLibrary;

// The generated backdrops' thumbnails on the GUI thread: each preset is
// rendered once, on the utility pool (requests while it renders share the
// render), and then answered at once. The pictures share their pixels with
// Backdrop::thumbnail's cache. Counts the renders it starts per id.
class BackdropThumbnails : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Finishes on this object's thread; a null image when the id is unknown
    // or the render failed.
    QFuture<QImage> thumbnail(const QString& id);

    // How often a thumbnail of `id` was asked of the renderer.
    int renders(const QString& id) const { return m_renders.value(id); }

private:
    QHash<QString, QFuture<QImage>> m_running;
    QHash<QString, QImage> m_rendered;
    QHash<QString, int> m_renders;
};

// An image provider over a function that yields a future image; the function
// is called on the GUI thread, where the stores live, whatever thread the
// engine asks from.
class StoreImageProvider : public QQuickAsyncImageProvider {
public:
    using Fetch = std::function<QFuture<QImage>(const QString& id)>;

    explicit StoreImageProvider(Fetch fetch);

    QQuickImageResponse* requestImageResponse(const QString& id, const QSize& requestedSize) override;

private:
    Fetch m_fetch;
};

StoreImageProvider* makeBackdropProvider(BackdropThumbnails& thumbnails);
StoreImageProvider* makePhotoProvider(std::function<PhotoBackdropLibrary&()> library);
StoreImageProvider* makeMyBackgroundProvider(std::function<MyBackgroundsStore&()> store);

} // namespace zephrin
