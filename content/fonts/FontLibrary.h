#pragma once
// The catalogue of font families that the content server publishes, or that a
// catalogue folder holds (see ContentSource.h). It loads the catalogue on
// demand (with an on-disk copy for when the server can't be reached), makes a
// family usable and hands back the PostScript name of its regular face, which a
// text layer then stores: a family installed on the machine is used as it is;
// any other has its font files copied into the fonts folder (downloaded from a
// server) and registered with the process's font database, so documents that
// name it keep working. It also keeps the favourite and recently used families
// and one preview per family.
//
// Lives on the GUI thread; every property notifies only when its value
// changes. Downloads and decoding run on the worker pools; their results are
// applied back on the GUI thread. Returned futures finish on the GUI thread.

#include "content/files/ImageCache.h"
#include "content/fonts/FontItem.h"
#include "engine/pixel/Image.h"

#include <QFuture>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QProperty>
#include <QSet>
#include <QSettings>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

namespace zephrin {

class FontLibrary : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<FontItem> items READ items NOTIFY itemsChanged BINDABLE bindableItems)
    Q_PROPERTY(QStringList categories READ categories NOTIFY categoriesChanged BINDABLE bindableCategories)
    Q_PROPERTY(Status status READ status NOTIFY statusChanged BINDABLE bindableStatus)
    Q_PROPERTY(QSet<QString> favorites READ favorites NOTIFY favoritesChanged BINDABLE bindableFavorites)
    Q_PROPERTY(QStringList recents READ recents NOTIFY recentsChanged BINDABLE bindableRecents)
    Q_PROPERTY(QSet<QString> downloading READ downloading NOTIFY downloadingChanged BINDABLE bindableDownloading)

public:
    enum class Status { idle, loading, ready, failed };
    Q_ENUM(Status)

    static constexpr int maxRecents = 24;

    // `base` is the catalogue's root URL (path ending in "/"), a server's or a
    // folder's (file:); `fontsFolder` where the font files, previews and the
    // catalogue copy live; `settings` keeps "fontFavorites" and "fontRecents".
    FontLibrary(QUrl base, QString fontsFolder, std::unique_ptr<QSettings> settings,
                QObject* parent = nullptr);
    ~FontLibrary() override;

    // The one instance of the application, on the content source's fonts folder.
    // Created on first use, on the GUI thread.
    static FontLibrary& shared();

    QList<FontItem> items() const { return m_items; }
    QStringList categories() const { return m_categories; }
    Status status() const { return m_status; }
    QSet<QString> favorites() const { return m_favorites; }
    QStringList recents() const { return m_recents; }
    QSet<QString> downloading() const { return m_downloading; }
    QBindable<QList<FontItem>> bindableItems() { return &m_items; }
    QBindable<QStringList> bindableCategories() { return &m_categories; }
    QBindable<Status> bindableStatus() { return &m_status; }
    QBindable<QSet<QString>> bindableFavorites() { return &m_favorites; }
    QBindable<QStringList> bindableRecents() { return &m_recents; }
    QBindable<QSet<QString>> bindableDownloading() { return &m_downloading; }

    const QUrl& base() const { return m_base; }
    // What a load that found no catalogue says, worded for its source
    // (catalogueFailure in ContentSource.h).
    QString failureMessage() const;

    // Starts loading the catalogue unless a load is running or has succeeded
    // (a failed load may be retried). Shows the on-disk copy while the server
    // is asked; ends `ready` when either gave a catalogue, else `failed`.
    void loadIfNeeded();

    // Yields the PostScript name of the family's "regular" face, or none when
    // the catalogue names no regular face or it could not be had. A family
    // whose regular face is installed (fontconfig knows an upright face of that
    // family name) is used at once. Otherwise every file of the family is made
    // available (fetched when missing) and registered; a regular face on disk
    // that yields no name is fetched once more.
    QFuture<std::optional<QString>> download(const FontItem& item);

    // Adds or removes the family's id in the favourites and saves them; a newly
    // added favourite is downloaded in the background.
    void toggleFavorite(const FontItem& item);

    // Moves the id to the front of the recents (at most 24) and saves them.
    void noteRecent(const QString& id);

    // The family's preview picture: from memory, else from disk (a file there
    // that does not decode gives none and is not fetched again), else
    // downloaded and kept on disk. A catalogue folder's preview is read in place.
    QFuture<std::optional<Image>> preview(const QString& id);

signals:
    void itemsChanged();
    void categoriesChanged();
    void statusChanged();
    void favoritesChanged();
    void recentsChanged();
    void downloadingChanged();

private:
    struct Download;

    void fetchManifest();
    void downloadNextFace(const std::shared_ptr<Download>& job);
    void faceObtained(const std::shared_ptr<Download>& job, std::optional<QString> name, bool wasOnDisk);

    Q_OBJECT_BINDABLE_PROPERTY(FontLibrary, QList<FontItem>, m_items, &FontLibrary::itemsChanged)
    Q_OBJECT_BINDABLE_PROPERTY(FontLibrary, QStringList, m_categories, &FontLibrary::categoriesChanged)
    Q_OBJECT_BINDABLE_PROPERTY_WITH_ARGS(FontLibrary, Status, m_status, Status::idle, &FontLibrary::statusChanged)
    Q_OBJECT_BINDABLE_PROPERTY(FontLibrary, QSet<QString>, m_favorites, &FontLibrary::favoritesChanged)
    Q_OBJECT_BINDABLE_PROPERTY(FontLibrary, QStringList, m_recents, &FontLibrary::recentsChanged)
    Q_OBJECT_BINDABLE_PROPERTY(FontLibrary, QSet<QString>, m_downloading, &FontLibrary::downloadingChanged)

    const QUrl m_base;
    const QString m_folder;
    std::unique_ptr<QSettings> m_settings;
    QNetworkAccessManager m_network;
    ImageCache m_previewCache; // by family id
};

} // namespace zephrin
