#include "content/mybackgrounds/MyBackgroundsStore.h"

#include "content/files/AtomicWrite.h"
#include "content/files/DataFolder.h"
#include "content/files/ImageFiles.h"
#include "content/files/SafePath.h"
#include "content/files/Trash.h"
#include "content/mybackgrounds/BackgroundPicture.h"
#include "content/tasks/WorkerPools.h"

#include <QDir>
#include <QFile>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace zephrin {

namespace {

const QString kLibraryFile = QStringLiteral("library.json");
// Where a library file that could not be read whole is kept, before the next
// save replaces it, so that the records it held are not lost for good.
const QString kDamagedLibraryFile = QStringLiteral("library.damaged.json");
const QString kImagesFolder = QStringLiteral("images");
const QString kThumbsFolder = QStringLiteral("thumbs");
const QString kCouldNotSave = QStringLiteral("Couldn't save that background.");
const QString kCouldNotCreate = QStringLiteral("Couldn't create that backdrop.");
const QString kAdded = QStringLiteral("Added to My Backgrounds");
const QString kSavedSource = QStringLiteral("saved");
constexpr double kBackdropWidth = 2400;
constexpr double kBackdropHeight = 1600;

} // namespace

MyBackgroundsStore::MyBackgroundsStore(QString root, QObject* parent, std::chrono::milliseconds noticeDuration)
    : QObject(parent), m_root(std::move(root))
{
    m_noticeTimer.setSingleShot(true);
    m_noticeTimer.setTimerType(Qt::PreciseTimer);
    m_noticeTimer.setInterval(noticeDuration);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] { m_notice = QString(); });
    QDir(m_root).mkpath(kImagesFolder);
    QDir(m_root).mkpath(kThumbsFolder);
    load();
}

MyBackgroundsStore::~MyBackgroundsStore() = default;

MyBackgroundsStore& MyBackgroundsStore::shared()
{
    // Lives until the process ends, like the application.
    static auto* store = new MyBackgroundsStore(applicationDataFolder(QStringLiteral("MyBackgrounds")));
    return *store;
}

std::optional<QString> MyBackgroundsStore::imagePath(const QString& id) const
{
    if (!isSafeName(id))
        return std::nullopt;
    return pathInside(m_root, kImagesFolder + u'/' + id + QStringLiteral(".jpg"));
}

std::optional<QString> MyBackgroundsStore::thumbPath(const QString& id) const
{
    if (!isSafeName(id))
        return std::nullopt;
    return pathInside(m_root, kThumbsFolder + u'/' + id + QStringLiteral(".jpg"));
}

void MyBackgroundsStore::load()
{
    QFile file(QDir(m_root).filePath(kLibraryFile));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    qsizetype skipped = 0;
    const std::optional<QList<MyBackground>> records = decodeLibrary(bytes, &skipped);
    if (!records || skipped > 0)
        writeAtomically(QDir(m_root).filePath(kDamagedLibraryFile), bytes);
    if (!records)
        return;
    QList<MyBackground> kept;
    for (const MyBackground& record : *records) {
        // An id that is no plain file name would lead outside the folder.
        const std::optional<QString> picture = imagePath(record.id);
        if (picture && QFile::exists(*picture))
            kept.append(record);
    }
    m_items = kept;
}

bool MyBackgroundsStore::save()
{
    return writeAtomically(QDir(m_root).filePath(kLibraryFile), encodeLibrary(m_items));
}

void MyBackgroundsStore::showNotice(const QString& text)
{
    m_notice = text;
    m_noticeTimer.start();  // restarts: the notice stays its full time after the last post
}

std::optional<QString> MyBackgroundsStore::duplicateOf(const QString& name, qint64 width, qint64 height,
                                                       const QString& fingerprint) const
{
    for (const MyBackground& record : m_items.value())
        if (record.name == name && record.width == width && record.height == height
            && record.contentHash == fingerprint)
            return record.id;
    return std::nullopt;
}

QFuture<std::optional<QString>> MyBackgroundsStore::add(const Image& picture, const QString& name,
                                                        const QString& source, const std::optional<QString>& prompt,
                                                        const std::optional<QString>& provider)
{
    auto promise = startedPromise<std::optional<QString>>();
    MyBackground record;
    record.name = name;
    record.source = source;
    record.width = picture.width();
    record.height = picture.height();
    record.prompt = prompt;
    record.provider = provider;
    QtConcurrent::run(userInitiatedPool(), [picture] { return pictureFingerprint(picture); })
        .then(this, [this, picture, record, promise](const QString& fingerprint) mutable {
            if (const auto existing = duplicateOf(record.name, record.width, record.height, fingerprint)) {
                settle(promise, existing);
                return;
            }
            record.contentHash = fingerprint;
            storePicture(picture, record, promise);
        });
    return promise->future();
}

void MyBackgroundsStore::storePicture(const Image& picture, MyBackground record,
                                      const SharedPromise<std::optional<QString>>& promise)
{
    record.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString image = *imagePath(record.id);
    const QString thumb = *thumbPath(record.id);
    QtConcurrent::run(userInitiatedPool(), [picture, image, thumb] {
        return writeBackgroundFiles(picture, image, thumb);
    }).then(this, [this, record, promise](std::optional<qint64> bytes) mutable {
        if (!bytes) {
            discardFiles(record.id);
            showNotice(kCouldNotSave);
            settle(promise, std::optional<QString>());
            return;
        }
        // An identical add that finished first has already stored this picture.
        if (const auto existing = duplicateOf(record.name, record.width, record.height, *record.contentHash)) {
            discardFiles(record.id);
            settle(promise, existing);
            return;
        }
        record.created = QDateTime::currentDateTimeUtc();
        record.bytes = *bytes;
        QList<MyBackground> items = m_items;
        items.prepend(record);
        m_items = items;
        if (!save()) {
            // A record the library file doesn't hold would vanish at the next launch.
            items.removeFirst();
            m_items = items;
            discardFiles(record.id);
            showNotice(kCouldNotSave);
            settle(promise, std::optional<QString>());
            return;
        }
        settle(promise, std::optional<QString>(record.id));
    });
}

void MyBackgroundsStore::discardFiles(const QString& id)
{
    for (const auto& path : {imagePath(id), thumbPath(id)})
        if (path)
            QFile::remove(*path);
}

QFuture<void> MyBackgroundsStore::addFromBackdrop(const Backdrop& backdrop)
{
    auto done = std::make_shared<QPromise<void>>();
    done->start();
    QtConcurrent::run(userInitiatedPool(), [backdrop] { return backdrop.render(kBackdropWidth, kBackdropHeight); })
        .then(this, [this, name = backdrop.name, done](std::optional<Image> rendered) {
            if (!rendered) {
                showNotice(kCouldNotCreate);
                done->finish();
                return;
            }
            // A failed add has posted its own notice; a duplicate counts as added.
            add(*rendered, name, kSavedSource).then(this, [this, done](std::optional<QString> id) {
                if (id)
                    showNotice(kAdded);
                done->finish();
            });
        });
    return done->future();
}

QFuture<std::optional<Image>> MyBackgroundsStore::thumbnail(const QString& id)
{
    if (std::optional<Image> cached = m_thumbCache.find(id))
        return readyFuture<std::optional<Image>>(std::move(cached));
    const std::optional<QString> path = thumbPath(id);
    if (!path)
        return readyFuture<std::optional<Image>>(std::nullopt);
    return QtConcurrent::run(utilityPool(), [path = *path] { return readImageFile(path, kThumbnailLimits); })
        .then(this, [this, id, generation = m_generation](std::optional<Image> image) {
            if (image && generation == m_generation)
                m_thumbCache.insert(id, *image);
            return image;
        });
}

QFuture<std::optional<Image>> MyBackgroundsStore::fullImage(const QString& id)
{
    const std::optional<QString> path = imagePath(id);
    if (!path)
        return readyFuture<std::optional<Image>>(std::nullopt);
    return QtConcurrent::run(userInitiatedPool(), [path = *path] { return readImageFile(path, kPictureLimits); });
}

void MyBackgroundsStore::toggleFavorite(const QSet<QString>& ids)
{
    QList<MyBackground> items = m_items;
    const bool favorite = std::any_of(items.cbegin(), items.cend(), [&](const MyBackground& record) {
        return ids.contains(record.id) && !record.favorite;
    });
    for (MyBackground& record : items)
        if (ids.contains(record.id))
            record.favorite = favorite;
    m_items = items;
    save();
}

void MyBackgroundsStore::rename(const QString& id, const QString& name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    QList<MyBackground> items = m_items;
    const auto record = std::find_if(items.begin(), items.end(), [&](const MyBackground& r) { return r.id == id; });
    if (record == items.end())
        return;
    record->name = trimmed;
    m_items = items;
    save();
}

void MyBackgroundsStore::deleteItems(const QSet<QString>& ids)
{
    ++m_generation;
    for (const QString& id : ids) {
        for (const auto& path : {imagePath(id), thumbPath(id)})
            if (path)
                moveToTrashOrRemove(*path);
        m_thumbCache.remove(id);
    }
    QList<MyBackground> items = m_items;
    items.removeIf([&](const MyBackground& record) { return ids.contains(record.id); });
    m_items = items;
    save();
}

void MyBackgroundsStore::deleteMany()
{
    QSet<QString> ids;
    for (const MyBackground& record : m_items.value())
        ids.insert(record.id);
    deleteItems(ids);
}

} // namespace zephrin
