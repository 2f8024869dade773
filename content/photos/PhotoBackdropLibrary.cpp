#include "content/photos/PhotoBackdropLibrary.h"

#include "content/files/AtomicWrite.h"
#include "content/files/DataFolder.h"
#include "content/files/ImageFiles.h"
#include "content/files/SafePath.h"
#include "content/net/CachedCatalogue.h"
#include "content/net/ContentSource.h"
#include "content/net/HttpGet.h"
#include "content/photos/PhotoManifest.h"
#include "content/tasks/Promise.h"
#include "content/tasks/WorkerPools.h"

#include <QDir>
#include <QFile>
#include <QtConcurrent/QtConcurrentRun>

using namespace std::chrono_literals;

namespace zephrin {

namespace {

const QString kManifestFile = QStringLiteral("manifest.json");
constexpr auto kManifestTimeout = 20s;
constexpr auto kThumbnailTimeout = 20s;
constexpr auto kFullImageTimeout = 60s;
// A download that goes on sending a byte now and then ends here.
constexpr auto kThumbnailDeadline = 60s;
constexpr auto kFullImageDeadline = 5min;
constexpr auto kManifestDeadline = 2min;
// About a hundred thumbnails of the catalogue's size (480 × 320).
constexpr qint64 kThumbCacheBytes = qint64(64) << 20;
constexpr qint64 kMaxManifestBytes = 16 * 1024 * 1024;
constexpr qint64 kMaxImageBytes = 64 * 1024 * 1024;

QStringList withoutRepeats(const QStringList& names)
{
    QStringList kept;
    for (const QString& name : names)
        if (!kept.contains(name))
            kept.append(name);
    return kept;
}

} // namespace

const QString PhotoBackdropLibrary::allCategory = QStringLiteral("All");

QString PhotoBackdropLibrary::failureMessage() const { return catalogueFailure(m_base, QStringLiteral("photo")); }

PhotoBackdropLibrary::PhotoBackdropLibrary(QUrl base, QString cacheFolder, QObject* parent)
    : QObject(parent), m_base(std::move(base)), m_cacheFolder(std::move(cacheFolder)), m_thumbCache(kThumbCacheBytes)
{
    m_categories.setValueBypassingBindings({allCategory});
}

PhotoBackdropLibrary::~PhotoBackdropLibrary() = default;

PhotoBackdropLibrary& PhotoBackdropLibrary::shared()
{
    // Lives until the process ends, like the application.
    static auto* library = new PhotoBackdropLibrary(
        contentResourceBase(contentSource(), QStringLiteral("zephrin/backdrops")),
        applicationDataFolder(QStringLiteral("PhotoBackdrops")));
    return *library;
}

QFuture<void> PhotoBackdropLibrary::refresh()
{
    QDir().mkpath(m_cacheFolder);
    auto done = std::make_shared<QPromise<void>>();
    done->start();
    const CachedCatalogue<PhotoManifest> catalogue{
        {m_base.resolved(QUrl(kManifestFile)), kManifestTimeout, true, kMaxManifestBytes, kManifestDeadline},
        QDir(m_cacheFolder).filePath(kManifestFile),
        decodePhotoManifest};
    loadCatalogue(
        this, m_network, catalogue, m_items.value().isEmpty(),
        [this](const PhotoManifest& cached) {
            if (m_items.value().isEmpty())
                apply(cached.categories, cached.items);
        },
        [this, done](std::optional<PhotoManifest> fetched) {
            if (fetched)
                apply(fetched->categories, fetched->items);
            m_status = fetched || !m_items.value().isEmpty() ? Status{Status::Phase::ready, {}}
                                                              : Status::failed(failureMessage());
            done->finish();
        });
    return done->future();
}

void PhotoBackdropLibrary::apply(const std::optional<QStringList>& categories, const QList<PhotoBackdrop>& items)
{
    m_items = items;
    QStringList names;
    if (categories) {
        names = *categories;
    } else {
        for (const PhotoBackdrop& item : items)
            names.append(item.category);
    }
    m_categories = QStringList{allCategory} + withoutRepeats(names);
}

QList<PhotoBackdrop> PhotoBackdropLibrary::items(const QString& category) const
{
    if (category == allCategory)
        return m_items;
    QList<PhotoBackdrop> chosen;
    for (const PhotoBackdrop& item : m_items.value())
        if (item.category == category)
            chosen.append(item);
    return chosen;
}

std::pair<QString, std::optional<QUrl>> PhotoBackdropLibrary::picturePlace(const QString& folder,
                                                                          const QString& id) const
{
    const QString file = id + QStringLiteral(".jpg");
    if (m_base.isLocalFile())
        return {QDir(m_base.toLocalFile()).filePath(folder + u'/' + file), std::nullopt};
    const QString cache = QDir(m_cacheFolder).filePath(folder);
    QDir().mkpath(cache);
    return {QDir(cache).filePath(file), urlInside(m_base, folder + u'/' + file)};
}

QFuture<std::optional<Image>> PhotoBackdropLibrary::thumbnail(const QString& id)
{
    if (std::optional<Image> cached = m_thumbCache.find(id))
        return readyFuture<std::optional<Image>>(std::move(cached));
    if (!isSafeName(id))
        return readyFuture<std::optional<Image>>(std::nullopt);

    auto waiter = startedPromise<std::optional<Image>>();
    const auto running = m_thumbTasks.find(id);
    if (running != m_thumbTasks.end()) {
        running->append(waiter);
        return waiter->future();
    }
    m_thumbTasks.insert(id, {waiter});
    const auto [local, remote] = picturePlace(QStringLiteral("thumbs"), id);
    loadImage({local, remote, kThumbnailTimeout, kThumbnailDeadline, kThumbnailLimits, utilityPool()})
        .then(this, [this, id](std::optional<Image> image) {
            if (image)
                m_thumbCache.insert(id, *image);
            for (const auto& waiting : m_thumbTasks.take(id))
                settle(waiting, image);
        });
    return waiter->future();
}

QFuture<std::optional<Image>> PhotoBackdropLibrary::fullImage(const QString& id)
{
    if (!isSafeName(id))
        return readyFuture<std::optional<Image>>(std::nullopt);
    const auto [local, remote] = picturePlace(QStringLiteral("full"), id);
    return loadImage({local, remote, kFullImageTimeout, kFullImageDeadline, kPictureLimits, userInitiatedPool()});
}

QFuture<std::optional<Image>> PhotoBackdropLibrary::loadImage(const ImageLoad& load)
{
    auto promise = startedPromise<std::optional<Image>>();
    QtConcurrent::run(load.pool, [load] { return readImageFile(load.local, load.limits); })
        .then(this, [this, promise, load](std::optional<Image> onDisk) {
            // A file that doesn't decode is replaced by the next good download.
            if (onDisk || !load.remote) {
                settle(promise, std::move(onDisk));
                return;
            }
            httpGet(m_network, {*load.remote, load.timeout, false, kMaxImageBytes, load.deadline})
                .then(load.pool, [load](std::optional<QByteArray> body) -> std::optional<Image> {
                    std::optional<Image> image = body ? decodeImage(*body, load.limits) : std::nullopt;
                    if (image)
                        writeAtomically(load.local, *body);
                    return image;
                })
                .then(this, [promise](std::optional<Image> image) { settle(promise, std::move(image)); });
        });
    return promise->future();
}

} // namespace zephrin
