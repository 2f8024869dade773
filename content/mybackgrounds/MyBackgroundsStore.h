#pragma once
// My Backgrounds: the user's own library of background pictures (imported
// photos, generated backdrops and photo backdrops they chose to keep). Each
// picture is stored as a JPEG with a small JPEG thumbnail in the library
// folder, and the list itself in "library.json" beside them:
//
//     <root>/library.json
//     <root>/images/<id>.jpg   longer side at most 4096, quality 0.92
//     <root>/thumbs/<id>.jpg   360 × 240, quality 0.8
//
// The store also carries a short-lived notice for the views to show as a toast.
// It never throws: failures become notices.
//
// Every change shows in `items` at once and is then written to "library.json";
// a change whose write fails is undone (later changes stay) with a notice, so
// what the user sees is what the next launch loads. One write runs at a time,
// each with every change made so far.
//
// At load, a library file that cannot be read whole is kept beside it as
// "library.damaged.json" (then "library.damaged-2.json" and so on: every damaged
// version is kept once), and the list is repaired: every picture it hid is
// listed again (those a damaged copy names and, while the file itself is
// damaged, every unnamed one), with every field of its record that the
// damaged text still holds (its name above all) and the rest made from the
// picture file; the repaired list is written back at once. The first time a
// view shows the list, the notice says "The list of My Backgrounds was damaged
// and has been repaired."
// Picture files that neither the library file nor any damaged copy names (left
// by a crash between writing a picture and writing the list, or by a lost
// library file) are moved aside into "Set Aside", never deleted; their
// thumbnails are removed.
//
// Deleting moves the pictures to the Trash, or removes them for good when the
// caller asks so (the views ask the user first where there is no Trash). A
// picture the Trash refuses is kept in "Set Aside", with a notice that says so.
// Thumbnails are removed, never trashed: they are made from the picture.
//
// Lives on the GUI thread; `items` and `notice` notify only when they change.
// Encoding, thumbnails, rendering, decoding, library writes and Trash moves run
// on the worker pools; their results are applied back on the GUI thread, never
// once the store is being destroyed. Returned futures finish there (cancelled
// when the store goes first).

#include "content/backdrops/Backdrop.h"
#include "content/files/ImageCache.h"
#include "content/mybackgrounds/MyBackground.h"
#include "content/tasks/Lifeline.h"
#include "content/tasks/Promise.h"
#include "engine/pixel/Image.h"

#include <QFuture>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QProperty>
#include <QSet>
#include <QString>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QFileInfo;

namespace zephrin {

class MyBackgroundsStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<zephrin::MyBackground> items READ items NOTIFY itemsChanged BINDABLE bindableItems)
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged BINDABLE bindableNotice)
    // Whether the notice reports success (drawn with a check) or a failure
    // (drawn as a warning); the store knows which it posted.
    Q_PROPERTY(bool noticeIsSuccess READ noticeIsSuccess NOTIFY noticeChanged)

public:
    static constexpr std::chrono::milliseconds noticeDuration{2500};

    enum class Removal { toTrash, permanently };

    // Loads the library of the folder `root`, keeping only the records whose
    // picture file exists (and whose id is a safe file name).
    explicit MyBackgroundsStore(QString root, QObject* parent = nullptr,
                                std::chrono::milliseconds noticeDuration = MyBackgroundsStore::noticeDuration);
    ~MyBackgroundsStore() override;

    // The one store of the application, in "Zephrin/MyBackgrounds" of the user's
    // data folder. Created on first use, on the GUI thread.
    static MyBackgroundsStore& shared();

    // The library, newest first.
    QList<MyBackground> items() const { return m_items; }
    // The toast text; empty when nothing is shown. Cleared 2.5 seconds after the
    // last notice was posted.
    QString notice() const { return m_notice; }
    bool noticeIsSuccess() const { return m_noticeIsSuccess; }
    QBindable<QList<MyBackground>> bindableItems() { return &m_items; }
    QBindable<QString> bindableNotice() { return &m_notice; }

    const QString& root() const { return m_root; }

    // Stores the picture and puts a new record at the front. Yields the record's
    // id; the id of an existing record with the same name, size and pixels
    // instead (nothing is stored then); or none when the picture or the library
    // file could not be written, with the notice "Couldn't save that background.".
    QFuture<std::optional<QString>> add(const Image& picture, const QString& name, const QString& source,
                                        const std::optional<QString>& prompt = std::nullopt,
                                        const std::optional<QString>& provider = std::nullopt);

    // Renders the backdrop at 2400 × 1600 and adds it as "saved" under its name;
    // reports through the notice ("Added to My Backgrounds", or why not).
    QFuture<void> addFromBackdrop(const Backdrop& backdrop);

    // The record's thumbnail, kept in memory once loaded.
    QFuture<std::optional<Image>> thumbnail(const QString& id);
    // The record's stored picture; not kept in memory.
    QFuture<std::optional<Image>> fullImage(const QString& id);

    // Each change below yields true once it is in the library file, false when
    // it could not be written and was undone (notice "Couldn't save that
    // change.").

    // Marks every record of the set as favourite if any of them is not one yet;
    // otherwise clears them all.
    QFuture<bool> toggleFavorite(const QSet<QString>& ids);
    // Renames the record to the name without surrounding blanks; an all-blank
    // name or an unknown id changes nothing (and yields true at once).
    QFuture<bool> rename(const QString& id, const QString& name);
    // Drops the records and, once the library file no longer lists them, moves
    // their pictures to the Trash (or removes them, as asked) and removes their
    // thumbnails; the future finishes after that.
    QFuture<bool> deleteItems(const QSet<QString>& ids, Removal removal = Removal::toTrash);
    QFuture<bool> deleteMany(Removal removal = Removal::toTrash);

    // Shows `text` as the notice at once and clears it `noticeDuration` after
    // the last notice (a newer one replaces it and restarts the wait). Views
    // post their own outcomes here too: failures, and through
    // showAddedNotice() an addition ("Added to My Backgrounds").
    enum class NoticeKind { success, warning };
    void showNotice(const QString& text, NoticeKind kind = NoticeKind::warning);
    void showAddedNotice();

    // The views call this when they show the list. A repair made at load is
    // told then, once: the store may load long before anyone looks at the
    // list, and a notice posted at load would be gone unseen.
    void listShown();

signals:
    void itemsChanged();
    void noticeChanged();

private:
    // One change of the list: `apply` can be replayed on another list; `settled`
    // runs on the GUI thread once the change is written (true) or undone (false).
    struct Change {
        std::function<void(QList<MyBackground>&)> apply;
        std::function<void(bool written)> settled;
        QString failureNotice;
    };

    // What the damaged copies of the library file (and the file itself, when
    // damaged) still say: the readable fields of each record by id, every id
    // their text names, and whether every copy could be read.
    struct DamagedCopies {
        QHash<QString, QJsonObject> fields;
        QSet<QString> named;
        bool allRead = true;
    };

    void load();
    void keepDamagedLibrary(const QByteArray& bytes) const;
    DamagedCopies readDamagedCopies(const std::optional<QByteArray>& current) const;
    // A record for a picture no whole record lists: named "Recovered
    // background", dated by the file, its size unknown (0 × 0).
    static MyBackground recordOfPicture(const QString& id, const QFileInfo& picture);
    void setAsideOrphanFiles(const QStringList& orphans, const QSet<QString>& named) const;
    QFuture<bool> commit(std::function<void(QList<MyBackground>&)> apply);
    void commit(Change change);
    void writeNext();
    void finishWrite(bool written, const QList<MyBackground>& snapshot);
    void storePicture(const Image& picture, MyBackground record, const SharedPromise<std::optional<QString>>& promise);
    void discardFiles(const QString& id) const;
    std::optional<QString> duplicateOf(const QString& name, qint64 width, qint64 height,
                                       const QString& fingerprint) const;
    std::optional<QString> imagePath(const QString& id) const;
    std::optional<QString> thumbPath(const QString& id) const;

    Q_OBJECT_BINDABLE_PROPERTY(MyBackgroundsStore, QList<MyBackground>, m_items, &MyBackgroundsStore::itemsChanged)
    Q_OBJECT_BINDABLE_PROPERTY(MyBackgroundsStore, QString, m_notice, &MyBackgroundsStore::noticeChanged)

    const QString m_root;
    std::shared_ptr<Lifeline> m_lifeline;
    QList<MyBackground> m_written;   // what library.json holds (as far as this store knows)
    std::deque<Change> m_pending;    // changes shown in m_items, oldest first, not yet written
    std::size_t m_writing = 0;       // how many of m_pending the running write holds; 0: none runs
    ImageCache m_thumbCache{qint64(64) << 20}; // about two hundred thumbnails
    QTimer m_noticeTimer;
    bool m_noticeIsSuccess = false;
    bool m_repairUntold = false;  // the load repaired the list; listShown() tells it
    // Bumped by every deletion: a thumbnail load that started before one does
    // not put its result back into the cache.
    quint64 m_generation = 0;
};

} // namespace zephrin
