#pragma once
// The catalogue of backdrop photos that the content server publishes, or that
// a catalogue folder holds (see ContentSource.h): it loads the catalogue (with
// an on-disk copy for when the server can't be reached), sorts the photos into
// categories for the picker, and loads a small thumbnail for the grid and the
// full picture for the editor. Every picture from a server stays on disk after
// its first download; a folder's pictures are read where they are.
//
// Lives on the GUI thread; every property notifies only when its value
// changes. Decoding and file writes run on the worker pools; results are
// applied back on the GUI thread. Returned futures finish on the GUI thread.
//
// Expected of the photo grid: each time it comes on screen, and on its retry
// button, it looks at `status`; only when the phase is idle or failed does it
// set the status to loading and call refresh() (the library never sets
// loading itself).

#include "content/files/ImageCache.h"
#include "content/photos/PhotoBackdrop.h"
#include "engine/codec/ImageRead.h"
#include "engine/pixel/Image.h"

#include <QFuture>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPromise>
#include <QProperty>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>
#include <utility>

class QThreadPool;

namespace zephrin {

struct PhotoLibraryStatus {
    enum class Phase { idle, loading, ready, failed };
    Phase phase = Phase::idle;
    QString message;  // shown to the user; only `failed` has one

    static PhotoLibraryStatus failed(QString message) { return {Phase::failed, std::move(message)}; }

    friend bool operator==(const PhotoLibraryStatus&, const PhotoLibraryStatus&) = default;
};

class PhotoBackdropLibrary : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList categories READ categories NOTIFY categoriesChanged BINDABLE bindableCategories)
    Q_PROPERTY(QList<zephrin::PhotoBackdrop> items READ items NOTIFY itemsChanged BINDABLE bindableItems)
    Q_PROPERTY(zephrin::PhotoLibraryStatus status READ status WRITE setStatus NOTIFY statusChanged BINDABLE bindableStatus)

public:
    using Status = PhotoLibraryStatus;

    static const QString allCategory;    // "All"

    // `base` is the catalogue's root URL (path ending in "/"), a server's or a
    // folder's (file:); `cacheFolder` holds the catalogue copy and the
    // downloaded pictures.
    PhotoBackdropLibrary(QUrl base, QString cacheFolder, QObject* parent = nullptr);
    ~PhotoBackdropLibrary() override;

    // The one instance of the application, on the content source's backdrops
    // folder. Created on first use, on the GUI thread.
    static PhotoBackdropLibrary& shared();

    QStringList categories() const { return m_categories; }
    QList<PhotoBackdrop> items() const { return m_items; }
    Status status() const { return m_status; }
    void setStatus(const Status& status) { m_status = status; }
    QBindable<QStringList> bindableCategories() { return &m_categories; }
    QBindable<QList<PhotoBackdrop>> bindableItems() { return &m_items; }
    QBindable<Status> bindableStatus() { return &m_status; }

    const QUrl& base() const { return m_base; }
    const QString& cacheFolder() const { return m_cacheFolder; }
    // The text of a load that found no catalogue, worded for its source
    // (catalogueFailure in ContentSource.h).
    QString failureMessage() const;

    // Shows the on-disk catalogue when nothing is loaded yet, then asks the
    // server; ends ready when either gave a catalogue, else failed with
    // failureMessage().
    QFuture<void> refresh();

    // The photos of one category, in catalogue order; "All" gives every photo.
    QList<PhotoBackdrop> items(const QString& category) const;

    // The decoded thumbnail of a photo when it is in memory, for tiles that can
    // show one at once.
    std::optional<Image> cachedThumbnail(const QString& id) { return m_thumbCache.find(id); }

    // The photo's thumbnail: from memory, else disk, else downloaded (and kept
    // on disk). Concurrent requests for one id share a single load.
    QFuture<std::optional<Image>> thumbnail(const QString& id);

    // The photo's full picture, from disk or downloaded; not kept in memory.
    QFuture<std::optional<Image>> fullImage(const QString& id);

signals:
    void categoriesChanged();
    void itemsChanged();
    void statusChanged();

private:
    void apply(const std::optional<QStringList>& categories, const QList<PhotoBackdrop>& items);
    // Where a picture of the catalogue's `folder` ("thumbs", "full") is read:
    // in a catalogue folder, from there alone; from a server, from the cache
    // folder, with the URL to fetch it from when it is not there yet.
    std::pair<QString, std::optional<QUrl>> picturePlace(const QString& folder, const QString& id) const;
    struct ImageLoad {
        QString local;
        std::optional<QUrl> remote; // none: the file on disk is the only copy
        std::chrono::milliseconds timeout;  // without data arriving
        std::chrono::milliseconds deadline; // for the whole download
        ReadLimits limits;
        QThreadPool* pool;
    };
    QFuture<std::optional<Image>> loadImage(const ImageLoad& load);

    Q_OBJECT_BINDABLE_PROPERTY(PhotoBackdropLibrary, QStringList, m_categories, &PhotoBackdropLibrary::categoriesChanged)
    Q_OBJECT_BINDABLE_PROPERTY(PhotoBackdropLibrary, QList<PhotoBackdrop>, m_items, &PhotoBackdropLibrary::itemsChanged)
    Q_OBJECT_BINDABLE_PROPERTY(PhotoBackdropLibrary, Status, m_status, &PhotoBackdropLibrary::statusChanged)

    const QUrl m_base;
    const QString m_cacheFolder;
    QNetworkAccessManager m_network;
    ImageCache m_thumbCache;
    // The callers waiting for each thumbnail load in flight.
    QHash<QString, QList<std::shared_ptr<QPromise<std::optional<Image>>>>> m_thumbTasks;
};

} // namespace zephrin
