#include "content/fonts/FontLibrary.h"

#include "content/files/AtomicWrite.h"
#include "content/files/ImageFiles.h"
#include "content/files/SafePath.h"
#include "content/fonts/FontFileName.h"
#include "content/fonts/FontManifest.h"
#include "content/net/CachedCatalogue.h"
#include "content/net/ContentGet.h"
#include "content/net/ContentSource.h"
#include "content/tasks/Promise.h"
#include "content/tasks/WorkerPools.h"
#include "engine/text/FontResolver.h"
#include "engine/text/FontsFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QtConcurrent/QtConcurrentRun>

using namespace std::chrono_literals;

namespace zephrin {

namespace {

const QLatin1String kFavoritesKey("fontFavorites");
const QLatin1String kRecentsKey("fontRecents");
const QString kRegular = QStringLiteral("regular");
const QString kManifestFile = QStringLiteral("fonts.json");

constexpr auto kManifestTimeout = 30s;
constexpr auto kDefaultTimeout = 60s;
// A download that goes on sending a byte now and then ends here.
constexpr auto kManifestDeadline = 2min;
constexpr auto kFontDeadline = 5min;
constexpr auto kPreviewDeadline = 60s;
constexpr qint64 kMaxManifestBytes = 16 * 1024 * 1024;
constexpr qint64 kMaxFontBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxPreviewBytes = 16 * 1024 * 1024;
// Previews of every family of the catalogue, many times over.
constexpr qint64 kPreviewCacheBytes = qint64(32) << 20;

// A list of strings from the settings; anything else counts as empty. The INI
// format gives a one-element list back as a plain string.
QStringList stringList(const QSettings& settings, QLatin1String key)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QString)
        return value.toString().isEmpty() ? QStringList{} : QStringList{value.toString()};
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() == QMetaType::QVariantList) {
        QStringList strings;
        for (const QVariant& element : value.toList()) {
            if (element.typeId() != QMetaType::QString)
                return {};
            strings.append(element.toString());
        }
        return strings;
    }
    return {};
}

// Registers the file with the process's font database (a file that can't be
// registered, or is already, passes silently) and names its first face.
std::optional<QString> registerFontFile(const QString& path)
{
    QFontDatabase::addApplicationFont(path);
    return postScriptNameOfFontFile(path);
}

QString previewPath(const QString& id)
{
    return QStringLiteral("previews/") + id + QStringLiteral(".png");
}

} // namespace

struct FontLibrary::Download {
    struct Face {
        QString style;
        QString local;
        QUrl remote;
    };
    QString id;
    QList<Face> faces;
    qsizetype next = 0;
    bool refetchedRegular = false;
    std::optional<QString> regularName;
    SharedPromise<std::optional<QString>> promise = startedPromise<std::optional<QString>>();
};

FontLibrary::FontLibrary(QUrl base, QString fontsFolder, std::unique_ptr<QSettings> settings, QObject* parent)
    : QObject(parent), m_base(std::move(base)), m_folder(std::move(fontsFolder)), m_settings(std::move(settings)),
      m_previewCache(kPreviewCacheBytes)
{
    const QStringList favorites = stringList(*m_settings, kFavoritesKey);
    m_favorites.setValueBypassingBindings(QSet<QString>(favorites.begin(), favorites.end()));
    m_recents.setValueBypassingBindings(stringList(*m_settings, kRecentsKey));
    QDir(m_folder).mkpath(QStringLiteral("previews"));
}

FontLibrary::~FontLibrary() = default;

FontLibrary& FontLibrary::shared()
{
    // Lives until the process ends, like the application.
    static auto* library = new FontLibrary(contentResourceBase(contentSource(), QStringLiteral("zephrin/fonts")),
                                           fontsFolder(), std::make_unique<QSettings>());
    return *library;
}

QString FontLibrary::failureMessage() const { return catalogueFailure(m_base, QStringLiteral("font")); }

void FontLibrary::loadIfNeeded()
{
    if (m_status == Status::loading || m_status == Status::ready)
        return;
    m_status = Status::loading;
    fetchManifest();
}

void FontLibrary::fetchManifest()
{
    const CachedCatalogue<FontManifest> catalogue{
        {m_base.resolved(QUrl(kManifestFile)), kManifestTimeout, true, kMaxManifestBytes, kManifestDeadline},
        QDir(m_folder).filePath(kManifestFile),
        decodeFontManifest};
    loadCatalogue(
        this, m_network, catalogue, m_items.value().isEmpty(),
        [this](const FontManifest& cached) {
            if (!m_items.value().isEmpty())
                return;
            m_items = cached.items;
            m_categories = cached.categories;
        },
        [this](std::optional<FontManifest> fetched) {
            if (fetched) {
                m_items = fetched->items;
                m_categories = fetched->categories;
                m_status = Status::ready;
            } else {
                m_status = m_items.value().isEmpty() ? Status::failed : Status::ready;
            }
        });
}

QFuture<std::optional<QString>> FontLibrary::download(const FontItem& item)
{
    if (!item.files.contains(kRegular))
        return readyFuture<std::optional<QString>>(std::nullopt);
    auto job = std::make_shared<Download>();
    job->id = item.id;
    for (auto it = item.files.cbegin(); it != item.files.cend(); ++it) {
        const std::optional<QString> local = pathInside(m_folder, it.value());
        const std::optional<QUrl> remote = urlInside(m_base, it.value());
        // Catalogues are checked as they load; this guards items made elsewhere.
        if (!local || !remote)
            return readyFuture<std::optional<QString>>(std::nullopt);
        job->faces.append({it.key(), *local, *remote});
    }
    QSet<QString> downloading = m_downloading;
    downloading.insert(item.id);
    m_downloading = downloading;
    // A family the machine already has is used as it is, without a download.
    QtConcurrent::run(userInitiatedPool(), [family = item.name]() -> std::optional<QString> {
        const std::optional<FontFace> face = FontResolver::installedRegularFace(family);
        return face ? std::optional(face->postScriptName) : std::nullopt;
    }).then(this, [this, job](std::optional<QString> installed) {
        if (installed) {
            job->regularName = std::move(installed);
            job->next = job->faces.size();
        }
        downloadNextFace(job);
    });
    return job->promise->future();
}

void FontLibrary::downloadNextFace(const std::shared_ptr<Download>& job)
{
    if (job->next == job->faces.size()) {
        QSet<QString> downloading = m_downloading;
        downloading.remove(job->id);
        m_downloading = downloading;
        settle(job->promise, job->regularName);
        return;
    }
    const Download::Face& face = job->faces[job->next];
    const QString local = face.local;
    if (QFileInfo::exists(local)) {
        // A regular face that yields no name is damaged: drop it and fetch it once more.
        const bool mayDiscard = face.style == kRegular && !job->refetchedRegular;
        QtConcurrent::run(userInitiatedPool(), [local, mayDiscard] {
            std::optional<QString> name = registerFontFile(local);
            if (!name && mayDiscard)
                QFile::remove(local);
            return name;
        }).then(this, [this, job](std::optional<QString> name) { faceObtained(job, std::move(name), true); });
        return;
    }
    contentGet(m_network, {face.remote, kDefaultTimeout, false, kMaxFontBytes, kFontDeadline})
        .then(userInitiatedPool(), [local](std::optional<QByteArray> body) -> std::optional<QString> {
            // A face the server doesn't deliver is skipped: nothing written or registered.
            if (!body)
                return std::nullopt;
            writeAtomically(local, *body);
            return registerFontFile(local);
        })
        .then(this, [this, job](std::optional<QString> name) { faceObtained(job, std::move(name), false); });
}

void FontLibrary::faceObtained(const std::shared_ptr<Download>& job, std::optional<QString> name, bool wasOnDisk)
{
    if (job->faces[job->next].style == kRegular) {
        if (!name && wasOnDisk && !job->refetchedRegular) {
            job->refetchedRegular = true;
            downloadNextFace(job);  // the same face again, now fetched
            return;
        }
        job->regularName = std::move(name);
    }
    ++job->next;
    downloadNextFace(job);
}

void FontLibrary::toggleFavorite(const FontItem& item)
{
    QSet<QString> favorites = m_favorites;
    if (favorites.contains(item.id)) {
        favorites.remove(item.id);
    } else {
        favorites.insert(item.id);
        download(item);
    }
    m_favorites = favorites;
    m_settings->setValue(kFavoritesKey, QStringList(favorites.cbegin(), favorites.cend()));
}

void FontLibrary::noteRecent(const QString& id)
{
    QStringList recents = m_recents;
    recents.removeAll(id);
    recents.prepend(id);
    while (recents.size() > maxRecents)
        recents.removeLast();
    m_recents = recents;
    m_settings->setValue(kRecentsKey, recents);
}

QFuture<std::optional<Image>> FontLibrary::preview(const QString& id)
{
    if (std::optional<Image> cached = m_previewCache.find(id))
        return readyFuture<std::optional<Image>>(std::move(cached));
    // A catalogue folder's previews are read where they are; a server's are
    // kept in the fonts folder.
    const bool inFolder = m_base.isLocalFile();
    const std::optional<QString> local = pathInside(inFolder ? m_base.toLocalFile() : m_folder, previewPath(id));
    const std::optional<QUrl> remote = urlInside(m_base, previewPath(id));
    if (!isSafeName(id) || !local || !remote)
        return readyFuture<std::optional<Image>>(std::nullopt);

    auto promise = startedPromise<std::optional<Image>>();
    const auto finish = [this, id, promise](std::optional<Image> image) {
        if (image)
            m_previewCache.insert(id, *image);
        settle(promise, std::move(image));
    };
    QtConcurrent::run(utilityPool(), [path = *local]() -> std::optional<std::optional<Image>> {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        // A file on disk is the answer, even one that doesn't decode.
        return decodeImage(file.readAll(), kThumbnailLimits);
    }).then(this, [this, finish, inFolder, path = *local, url = *remote](std::optional<std::optional<Image>> onDisk) {
        if (onDisk || inFolder) {
            finish(onDisk.value_or(std::nullopt));
            return;
        }
        httpGet(m_network, {url, kDefaultTimeout, false, kMaxPreviewBytes, kPreviewDeadline})
            .then(utilityPool(), [path](std::optional<QByteArray> body) -> std::optional<Image> {
                if (!body)
                    return std::nullopt;
                writeAtomically(path, *body);
                return decodeImage(*body, kThumbnailLimits);
            })
            .then(this, finish);
    });
    return promise->future();
}

} // namespace zephrin
