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
#include <QFileInfo>
#include <QRegularExpression>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <utility>

namespace zephrin {

namespace {

const QString kLibraryFile = QStringLiteral("library.json");
// Where a library file that could not be read whole is kept, before the next
// save replaces it, so that the records it held are not lost for good: the
// first as "library.damaged.json", later ones numbered from 2.
const QString kDamagedLibraryStem = QStringLiteral("library.damaged");
constexpr int kMostDamagedLibraries = 1000;
const QString kImagesFolder = QStringLiteral("images");
const QString kThumbsFolder = QStringLiteral("thumbs");
// Where pictures go that no library copy names, or that the Trash refused.
const QString kSetAsideFolder = QStringLiteral("Set Aside");
const QString kCouldNotSave = QStringLiteral("Couldn't save that background.");
const QString kCouldNotSaveChange = QStringLiteral("Couldn't save that change.");
const QString kCouldNotCreate = QStringLiteral("Couldn't create that backdrop.");
const QString kAdded = QStringLiteral("Added to My Backgrounds");
const QString kRepaired = QStringLiteral("The list of My Backgrounds was damaged and has been repaired.");
const QString kRecoveredName = QStringLiteral("Recovered background");
const QString kSavedSource = QStringLiteral("saved");
const QString kImportedSource = QStringLiteral("imported");
constexpr double kBackdropWidth = 2400;
constexpr double kBackdropHeight = 1600;

QString damagedLibraryName(int number)
{
    return number == 1 ? kDamagedLibraryStem + QStringLiteral(".json")
                       : QStringLiteral("%1-%2.json").arg(kDamagedLibraryStem).arg(number);
}

// The ids of picture files as this store names them: an upper-case UUID and ".jpg".
std::optional<QString> pictureFileId(const QString& fileName)
{
    if (!fileName.endsWith(QStringLiteral(".jpg")))
        return std::nullopt;
    const QString id = fileName.chopped(4);
    if (QUuid::fromString(id).isNull() || id != id.toUpper())
        return std::nullopt;
    return id;
}

void removeFiles(const QStringList& paths)
{
    // Nobody waits for the removal: a file left behind is swept at the next start.
    (void)QtConcurrent::run(utilityPool(), [paths] {
        for (const QString& path : paths)
            QFile::remove(path);
    });
}

// Every id a library file names, read from its bytes alone: a damaged file
// still names the pictures of the records it held.
QSet<QString> idsNamedIn(const QByteArray& bytes)
{
    static const QRegularExpression uuid(
        QStringLiteral("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"),
        QRegularExpression::CaseInsensitiveOption);
    QSet<QString> ids;
    for (const QRegularExpressionMatch& match : uuid.globalMatch(QString::fromUtf8(bytes)))
        ids.insert(match.captured().toUpper());
    return ids;
}

// Moves the file into `folder` under its own name, or numbered when that is
// taken; false when it stays where it is.
bool moveAside(const QString& path, const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QFileInfo file(path);
    QString target = QDir(folder).filePath(file.fileName());
    for (int number = 2; QFileInfo::exists(target); ++number)
        target = QDir(folder).filePath(QStringLiteral("%1-%2.%3").arg(file.completeBaseName()).arg(number).arg(file.suffix()));
    return QFile::rename(path, target);
}

QString keptNotice(int kept)
{
    return kept == 1 ? QStringLiteral("Couldn't move that picture to the Trash. It is kept in the “%1” folder of "
                                      "My Backgrounds.").arg(kSetAsideFolder)
                     : QStringLiteral("Couldn't move %1 pictures to the Trash. They are kept in the “%2” folder of "
                                      "My Backgrounds.").arg(kept).arg(kSetAsideFolder);
}

} // namespace

MyBackgroundsStore::MyBackgroundsStore(QString root, QObject* parent, std::chrono::milliseconds noticeDuration)
    : QObject(parent), m_root(std::move(root)), m_lifeline(Lifeline::of(this))
{
    m_noticeTimer.setSingleShot(true);
    m_noticeTimer.setTimerType(Qt::PreciseTimer);
    m_noticeTimer.setInterval(noticeDuration);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] { m_notice = QString(); });
    QDir(m_root).mkpath(kImagesFolder);
    QDir(m_root).mkpath(kThumbsFolder);
    load();
}

MyBackgroundsStore::~MyBackgroundsStore() { m_lifeline->cut(); }

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

// Loading also mends what a damaged library file cost. The records of a
// library file read whole are listed; so are the pictures that a damaged
// file hid: those a damaged copy beside it names and, when the file itself
// is damaged, every picture no record names, each with a record made from
// its file and every field the damaged text still holds of it. The mended
// list is written back at once, so the notice that says so is told once.
void MyBackgroundsStore::load()
{
    const QDir root(m_root);
    std::optional<QByteArray> damaged;
    QList<MyBackground> listed;
    QSet<QString> named;   // every id the library file names, read or not
    QFile file(root.filePath(kLibraryFile));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        qsizetype skipped = 0;
        const std::optional<QList<MyBackground>> records = decodeLibrary(bytes, &skipped);
        if (!records || skipped > 0) {
            keepDamagedLibrary(bytes);
            damaged = bytes;
        }
        // The records of a damaged file come back with the pictures below.
        listed = records.value_or(QList<MyBackground>());
        named = idsNamedIn(bytes);
    }
    QList<MyBackground> kept;
    QSet<QString> keptIds;
    for (const MyBackground& record : listed) {
        // An id that is no plain file name would lead outside the folder.
        const std::optional<QString> picture = imagePath(record.id);
        if (picture && QFile::exists(*picture) && !keptIds.contains(record.id)) {
            kept.append(record);
            keptIds.insert(record.id);
        }
    }

    const DamagedCopies copies = readDamagedCopies(damaged);
    named.unite(copies.named);
    QList<MyBackground> recovered;
    QStringList orphans;
    const QDir images(root.filePath(kImagesFolder));
    for (const QString& name : images.entryList(QDir::Files)) {
        const std::optional<QString> id = pictureFileId(name);
        if (!id || keptIds.contains(*id))
            continue;
        if (damaged || copies.named.contains(*id)) {
            const QFileInfo file(images.filePath(name));
            MyBackground record = withReadableFields(recordOfPicture(*id, file), copies.fields.value(*id));
            // The file says its own size; a damaged text may hold a number cut short.
            record.bytes = file.size();
            recovered.append(record);
        } else
            orphans.append(*id);
    }
    std::sort(recovered.begin(), recovered.end(),
              [](const MyBackground& a, const MyBackground& b) { return a.created > b.created; });

    m_items = kept + recovered;
    m_written = m_items;
    if (damaged || !recovered.isEmpty()) {
        commit([](QList<MyBackground>&) {});
        m_repairUntold = true;
    }
    // Only a list read whole, beside copies that all read, says which files are
    // orphans: a damaged record may name any picture.
    if (!damaged && copies.allRead) {
        for (const MyBackground& record : recovered)
            named.insert(record.id);
        setAsideOrphanFiles(orphans, named);
    }
}

MyBackgroundsStore::DamagedCopies MyBackgroundsStore::readDamagedCopies(const std::optional<QByteArray>& current) const
{
    DamagedCopies copies;
    QList<QByteArray> contents;
    if (current)
        contents.append(*current);
    const QDir root(m_root);
    for (const QString& copy : root.entryList({kDamagedLibraryStem + QStringLiteral("*.json")}, QDir::Files)) {
        QFile file(root.filePath(copy));
        if (file.open(QIODevice::ReadOnly))
            contents.append(file.readAll());
        else
            copies.allRead = false;
    }
    // Where copies disagree, the current file speaks first, field by field.
    for (const QByteArray& bytes : contents) {
        copies.named.unite(idsNamedIn(bytes));
        for (const QJsonObject& record : readableFields(bytes)) {
            const QString id = record.value(QLatin1String("id")).toString();
            if (!isSafeName(id))
                continue;
            QJsonObject& known = copies.fields[id];
            for (auto field = record.begin(); field != record.end(); ++field)
                if (!known.contains(field.key()))
                    known.insert(field.key(), field.value());
        }
    }
    return copies;
}

MyBackground MyBackgroundsStore::recordOfPicture(const QString& id, const QFileInfo& picture)
{
    MyBackground record;
    record.id = id;
    record.name = kRecoveredName;
    record.source = kImportedSource;
    record.created = picture.lastModified().toUTC();
    record.bytes = picture.size();
    return record;
}

void MyBackgroundsStore::keepDamagedLibrary(const QByteArray& bytes) const
{
    const QDir folder(m_root);
    for (int number = 1; number <= kMostDamagedLibraries; ++number) {
        const QString path = folder.filePath(damagedLibraryName(number));
        QFile existing(path);
        if (!existing.exists()) {
            writeAtomically(path, bytes);
            return;
        }
        // The same damaged file met again (nothing was saved since): kept already.
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
            return;
    }
}

// Runs before any add of this store can have started, so every picture file
// no library copy names is left over from an earlier run (a crash between
// writing a picture and writing the list, or a lost library file): it is
// moved aside, and thumbnails nothing names are removed.
void MyBackgroundsStore::setAsideOrphanFiles(const QStringList& orphans, const QSet<QString>& named) const
{
    const QDir root(m_root);
    QStringList pictures;
    for (const QString& id : orphans)
        pictures.append(root.filePath(kImagesFolder + u'/' + id + QStringLiteral(".jpg")));
    QStringList thumbs;
    const QDir thumbFolder(root.filePath(kThumbsFolder));
    for (const QString& name : thumbFolder.entryList(QDir::Files)) {
        const std::optional<QString> id = pictureFileId(name);
        if (id && !named.contains(*id))
            thumbs.append(thumbFolder.filePath(name));
    }
    if (pictures.isEmpty() && thumbs.isEmpty())
        return;
    // Nobody waits: a file left behind is met again at the next start.
    (void)QtConcurrent::run(utilityPool(), [pictures, thumbs, aside = root.filePath(kSetAsideFolder)] {
        for (const QString& path : pictures)
            moveAside(path, aside);
        for (const QString& path : thumbs)
            QFile::remove(path);
    });
}

QFuture<bool> MyBackgroundsStore::commit(std::function<void(QList<MyBackground>&)> apply)
{
    auto done = startedPromise<bool>();
    commit(Change{std::move(apply), [done](bool written) { settle(done, written); }, kCouldNotSaveChange});
    return done->future();
}

void MyBackgroundsStore::commit(Change change)
{
    QList<MyBackground> items = m_items;
    change.apply(items);
    m_items = items;
    m_pending.push_back(std::move(change));
    writeNext();
}

void MyBackgroundsStore::writeNext()
{
    if (m_writing > 0 || m_pending.empty())
        return;
    m_writing = m_pending.size();
    const QList<MyBackground> snapshot = m_items;
    const QString path = QDir(m_root).filePath(kLibraryFile);
    const QByteArray json = encodeLibrary(snapshot);
    m_lifeline->then(QtConcurrent::run(userInitiatedPool(), [path, json] { return writeAtomically(path, json); }),
                     [this, snapshot](bool written) { finishWrite(written, snapshot); });
}

void MyBackgroundsStore::finishWrite(bool written, const QList<MyBackground>& snapshot)
{
    std::vector<Change> done;
    for (; m_writing > 0; --m_writing) {
        done.push_back(std::move(m_pending.front()));
        m_pending.pop_front();
    }
    if (written) {
        m_written = snapshot;
    } else {
        // Undo what that write held; the changes made since stay.
        QList<MyBackground> items = m_written;
        for (const Change& later : m_pending)
            later.apply(items);
        m_items = items;
        showNotice(done.back().failureNotice);
    }
    for (const Change& change : done)
        change.settled(written);
    writeNext();
}

void MyBackgroundsStore::showNotice(const QString& text, NoticeKind kind)
{
    const bool success = kind == NoticeKind::success;
    const bool kindChanged = success != m_noticeIsSuccess;
    m_noticeIsSuccess = success;
    if (text == m_notice && kindChanged)
        emit noticeChanged();
    m_notice = text;
    m_noticeTimer.start();  // restarts: the notice stays its full time after the last post
}

void MyBackgroundsStore::listShown()
{
    if (std::exchange(m_repairUntold, false))
        showNotice(kRepaired);
}

void MyBackgroundsStore::showAddedNotice()
{
    showNotice(kAdded, NoticeKind::success);
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
    m_lifeline->then(
        QtConcurrent::run(userInitiatedPool(), [picture] { return pictureFingerprint(picture); }),
        [this, picture, record, promise](const QString& fingerprint) mutable {
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
    const auto written = QtConcurrent::run(userInitiatedPool(), [picture, image, thumb] {
        return writeBackgroundFiles(picture, image, thumb);
    });
    m_lifeline->then(written, [this, record, promise](std::optional<qint64> bytes) mutable {
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
        const QString id = record.id;
        commit(Change{[record](QList<MyBackground>& items) { items.prepend(record); },
                      [this, id, promise](bool saved) {
                          // A record the library file doesn't hold would vanish at the next launch.
                          if (!saved)
                              discardFiles(id);
                          settle(promise, saved ? std::optional(id) : std::nullopt);
                      },
                      kCouldNotSave});
    });
}

void MyBackgroundsStore::discardFiles(const QString& id) const
{
    QStringList paths;
    for (const auto& path : {imagePath(id), thumbPath(id)})
        if (path)
            paths.append(*path);
    removeFiles(paths);
}

QFuture<void> MyBackgroundsStore::addFromBackdrop(const Backdrop& backdrop)
{
    auto done = std::make_shared<QPromise<void>>();
    done->start();
    m_lifeline->then(
        QtConcurrent::run(userInitiatedPool(), [backdrop] { return backdrop.render(kBackdropWidth, kBackdropHeight); }),
        [this, name = backdrop.name, done](std::optional<Image> rendered) {
            if (!rendered) {
                showNotice(kCouldNotCreate);
                done->finish();
                return;
            }
            // A failed add has posted its own notice; a duplicate counts as added.
            m_lifeline->then(add(*rendered, name, kSavedSource), [this, done](std::optional<QString> id) {
                if (id)
                    showAddedNotice();
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
    return m_lifeline->then(QtConcurrent::run(utilityPool(), [path = *path] { return readImageFile(path, kThumbnailLimits); }),
                            [this, id, generation = m_generation](std::optional<Image> image) {
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

QFuture<bool> MyBackgroundsStore::toggleFavorite(const QSet<QString>& ids)
{
    const QList<MyBackground> items = m_items;
    const bool favorite = std::any_of(items.cbegin(), items.cend(), [&](const MyBackground& record) {
        return ids.contains(record.id) && !record.favorite;
    });
    return commit([ids, favorite](QList<MyBackground>& list) {
        for (MyBackground& record : list)
            if (ids.contains(record.id))
                record.favorite = favorite;
    });
}

QFuture<bool> MyBackgroundsStore::rename(const QString& id, const QString& name)
{
    const QString trimmed = name.trimmed();
    const QList<MyBackground> items = m_items;
    const bool known = std::any_of(items.cbegin(), items.cend(), [&](const MyBackground& r) { return r.id == id; });
    if (trimmed.isEmpty() || !known)
        return readyFuture(true);
    return commit([id, trimmed](QList<MyBackground>& list) {
        for (MyBackground& record : list)
            if (record.id == id)
                record.name = trimmed;
    });
}

QFuture<bool> MyBackgroundsStore::deleteItems(const QSet<QString>& ids, Removal removal)
{
    ++m_generation;
    QStringList pictures;
    QStringList thumbs;
    for (const QString& id : ids) {
        m_thumbCache.remove(id);
        if (const auto path = imagePath(id))
            pictures.append(*path);
        if (const auto path = thumbPath(id))
            thumbs.append(*path);
    }

    auto done = startedPromise<bool>();
    const auto removeRecords = [ids](QList<MyBackground>& list) {
        list.removeIf([&](const MyBackground& record) { return ids.contains(record.id); });
    };
    // The files go only once no saved list names them any more.
    const auto settled = [this, pictures, thumbs, removal, done](bool saved) {
        if (!saved) {
            settle(done, false);
            return;
        }
        const QString aside = QDir(m_root).filePath(kSetAsideFolder);
        const auto removed = QtConcurrent::run(utilityPool(), [pictures, thumbs, removal, aside] {
            for (const QString& path : thumbs)
                QFile::remove(path);
            int kept = 0;
            for (const QString& path : pictures) {
                if (removal == Removal::permanently) {
                    QFile::remove(path);
                } else if (!moveToTrash(path)) {
                    moveAside(path, aside);
                    ++kept;
                }
            }
            return kept;
        });
        m_lifeline->then(removed, [this, done](int kept) {
            if (kept > 0)
                showNotice(keptNotice(kept));
            settle(done, true);
        });
    };
    commit(Change{removeRecords, settled, kCouldNotSaveChange});
    return done->future();
}

QFuture<bool> MyBackgroundsStore::deleteMany(Removal removal)
{
    QSet<QString> ids;
    for (const MyBackground& record : m_items.value())
        ids.insert(record.id);
    return deleteItems(ids, removal);
}

} // namespace zephrin
