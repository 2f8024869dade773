#include "content/mybackgrounds/BackgroundPicture.h"
#include "content/mybackgrounds/MyBackgroundsStore.h"

#include "content/support/ContentFixture.h"
#include "support/PixelSamples.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

#include <opencv2/imgproc.hpp>

namespace zephrin {
namespace {

using namespace zephrin::testing;
using namespace std::chrono_literals;

Image solid(cv::Size size, cv::Scalar rgba)
{
    return Image(cv::Mat(size, CV_8UC4, rgba));
}

class MyBackgroundsStoreTest : public ContentFixture {
protected:
    void SetUp() override
    {
        ContentFixture::SetUp();
        m_root = cached("MyBackgrounds");
    }

    std::unique_ptr<MyBackgroundsStore> makeStore(std::chrono::milliseconds notice = MyBackgroundsStore::noticeDuration)
    {
        return std::make_unique<MyBackgroundsStore>(m_root, nullptr, notice);
    }

    QString image(const QString& id) const { return m_root + "/images/" + id + ".jpg"; }
    QString thumb(const QString& id) const { return m_root + "/thumbs/" + id + ".jpg"; }

    std::optional<QString> add(MyBackgroundsStore& store, const Image& picture, const QString& name)
    {
        return awaitResult(store.add(picture, name, "imported"));
    }

    QString m_root;
};

QSize jpegSize(const QString& path)
{
    QImageReader reader(path);
    return reader.format() == "jpeg" ? reader.size() : QSize();
}

TEST_F(MyBackgroundsStoreTest, StoresAPictureWithItsThumbnailAndRecord)
{
    auto store = makeStore();
    const Image picture = photoLikeImage({640, 480}, 3);
    const auto id = add(*store, picture, "Kitchen");
    ASSERT_TRUE(id);
    EXPECT_EQ(*id, id->toUpper());
    EXPECT_EQ(QUuid(*id).isNull(), false);
    ASSERT_EQ(store->items().size(), 1);
    const MyBackground record = store->items()[0];
    EXPECT_EQ(record.name, "Kitchen");
    EXPECT_EQ(record.source, "imported");
    EXPECT_FALSE(record.favorite);
    EXPECT_EQ(record.width, 640);
    EXPECT_EQ(record.height, 480);
    EXPECT_EQ(record.bytes, QFileInfo(image(*id)).size());
    EXPECT_LE(std::abs(record.created.secsTo(QDateTime::currentDateTimeUtc())), 5);
    EXPECT_EQ(jpegSize(image(*id)), QSize(640, 480));
    EXPECT_EQ(jpegSize(thumb(*id)), QSize(360, 240));

    // The same record comes back from the library file.
    store.reset();
    EXPECT_EQ(makeStore()->items().value(0), record);
}

TEST_F(MyBackgroundsStoreTest, TakesTheSamePictureUnderTheSameNameOnce)
{
    auto store = makeStore();
    const Image picture = photoLikeImage({300, 200}, 4);
    const auto first = add(*store, picture, "Desk");
    ASSERT_TRUE(first);
    EXPECT_EQ(add(*store, picture, "Desk"), first);
    EXPECT_EQ(store->items().size(), 1);
    EXPECT_EQ(QDir(m_root + "/images").entryList(QDir::Files).size(), 1);
    EXPECT_NE(add(*store, picture, "Desk again"), first);
    EXPECT_EQ(store->items().size(), 2);
}

TEST_F(MyBackgroundsStoreTest, KeepsTwoDifferentPicturesWithOneNameAndSize)
{
    auto store = makeStore();
    const auto first = add(*store, photoLikeImage({300, 200}, 5), "Photo");
    const auto second = add(*store, photoLikeImage({300, 200}, 6), "Photo");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(store->items().size(), 2);
    EXPECT_TRUE(QFile::exists(image(*second)));
}

TEST_F(MyBackgroundsStoreTest, ReducesLargePicturesButRecordsTheirSize)
{
    auto store = makeStore();
    const auto id = add(*store, solid({6000, 4000}, {40, 90, 160, 255}), "Big");
    ASSERT_TRUE(id);
    EXPECT_EQ(jpegSize(image(*id)), QSize(4096, 2730));
    EXPECT_EQ(store->items()[0].width, 6000);
    EXPECT_EQ(store->items()[0].height, 4000);
}

TEST_F(MyBackgroundsStoreTest, FillsTheThumbnailAndCutsTheOverflowEvenly)
{
    // Red top rows, green middle, blue bottom rows: scaled to 360 × 360, the
    // thumbnail loses 60 rows at each end and shows only green.
    cv::Mat pixels(1000, 1000, CV_8UC4, cv::Scalar(0, 255, 0, 255));
    pixels.rowRange(0, 150).setTo(cv::Scalar(255, 0, 0, 255));
    pixels.rowRange(850, 1000).setTo(cv::Scalar(0, 0, 255, 255));
    const Image thumbnail = backgroundThumbnail(Image(pixels));
    ASSERT_EQ(thumbnail.size(), cv::Size(360, 240));
    for (const int row : {0, 120, 239}) {
        const cv::Vec4b p = thumbnail.pixels.at<cv::Vec4b>(row, 180);
        EXPECT_LT(p[0], 8) << row;
        EXPECT_GT(p[1], 247) << row;
        EXPECT_LT(p[2], 8) << row;
    }
}

TEST_F(MyBackgroundsStoreTest, FlattensTransparentPicturesOnWhite)
{
    cv::Mat pixels(200, 300, CV_8UC4, cv::Scalar(0, 0, 0, 0));
    pixels(cv::Rect(100, 50, 100, 100)).setTo(cv::Scalar(20, 20, 20, 255));
    auto store = makeStore();
    const auto id = add(*store, Image(pixels), "Cutout");
    ASSERT_TRUE(id);
    const auto stored = awaitResult(store->fullImage(*id));
    ASSERT_TRUE(stored);
    const cv::Vec4b clear = stored->pixels.at<cv::Vec4b>(10, 10);
    const cv::Vec4b subject = stored->pixels.at<cv::Vec4b>(100, 150);
    EXPECT_GT(clear[0], 245);
    EXPECT_GT(clear[2], 245);
    EXPECT_LT(subject[0], 40);
    const auto thumbnail = awaitResult(store->thumbnail(*id));
    ASSERT_TRUE(thumbnail);
    EXPECT_GT(thumbnail->pixels.at<cv::Vec4b>(5, 5)[1], 245);
}

TEST_F(MyBackgroundsStoreTest, ReportsAPictureItCannotWrite)
{
    auto store = makeStore();
    QDir(m_root + "/images").removeRecursively();
    writeFile(m_root + "/images", "a file where the folder should be");
    QSignalSpy notice(store.get(), &MyBackgroundsStore::noticeChanged);
    EXPECT_EQ(add(*store, photoLikeImage({64, 48}, 1), "Lost"), std::nullopt);
    EXPECT_EQ(store->notice(), "Couldn't save that background.");
    EXPECT_TRUE(store->items().isEmpty());
}

TEST_F(MyBackgroundsStoreTest, ReportsALibraryFileItCannotWriteInsteadOfAdding)
{
    auto store = makeStore();
    QDir(m_root).mkpath("library.json");  // a folder: the library file can't be replaced
    EXPECT_EQ(add(*store, photoLikeImage({64, 48}, 2), "Unsaved"), std::nullopt);
    EXPECT_EQ(store->notice(), "Couldn't save that background.");
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return QDir(m_root + "/images").entryList(QDir::Files).isEmpty(); }));

    awaitDone(store->addFromBackdrop(Backdrop::presets()[0]));
    EXPECT_EQ(store->notice(), "Couldn't save that background.");
    EXPECT_FALSE(store->noticeIsSuccess());
}

TEST_F(MyBackgroundsStoreTest, SavesAGeneratedBackdropAndSaysSo)
{
    auto store = makeStore();
    const Backdrop& sunset = Backdrop::presets()[10];
    ASSERT_TRUE(awaitDone(store->addFromBackdrop(sunset)));
    EXPECT_EQ(store->notice(), "Added to My Backgrounds");
    EXPECT_TRUE(store->noticeIsSuccess());
    ASSERT_EQ(store->items().size(), 1);
    EXPECT_EQ(store->items()[0].name, "Sunset");
    EXPECT_EQ(store->items()[0].source, "saved");
    EXPECT_EQ(store->items()[0].width, 2400);
    EXPECT_EQ(store->items()[0].height, 1600);
    EXPECT_EQ(store->items()[0].prompt, std::nullopt);

    // Saving it again finds the duplicate, which counts as added.
    ASSERT_TRUE(awaitDone(store->addFromBackdrop(sunset)));
    EXPECT_EQ(store->items().size(), 1);
    EXPECT_EQ(store->notice(), "Added to My Backgrounds");
}

TEST_F(MyBackgroundsStoreTest, ClearsTheNoticeItsFullTimeAfterTheLastPost)
{
    constexpr auto duration = 400ms;
    auto store = makeStore(duration);
    const Backdrop& mint = Backdrop::presets()[13];
    ASSERT_TRUE(awaitDone(store->addFromBackdrop(mint)));
    ASSERT_EQ(store->notice(), "Added to My Backgrounds");
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    // Still shown a moment later; then posted again.
    EXPECT_FALSE(waitUntil([&] { return store->notice().isEmpty(); }, 100ms));
    ASSERT_TRUE(awaitDone(store->addFromBackdrop(mint)));
    QElapsedTimer sinceSecond;
    sinceSecond.start();
    ASSERT_FALSE(store->notice().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return store->notice().isEmpty(); }));
    EXPECT_GE(sinceSecond.elapsed(), 350);
    EXPECT_GT(sinceFirst.elapsed(), 500);
}

TEST_F(MyBackgroundsStoreTest, TogglesFavouritesForTheWholeSelection)
{
    auto store = makeStore();
    const auto a = add(*store, photoLikeImage({40, 30}, 1), "A");
    const auto b = add(*store, photoLikeImage({40, 30}, 2), "B");
    const auto c = add(*store, photoLikeImage({40, 30}, 3), "C");
    ASSERT_TRUE(a && b && c);
    store->toggleFavorite({*a});
    store->toggleFavorite({*a, *b});  // one favourite, one not: both become favourites, at once
    const auto favourite = [&](const QString& id) {
        for (const auto& r : store->items())
            if (r.id == id)
                return r.favorite;
        return false;
    };
    EXPECT_TRUE(favourite(*a) && favourite(*b));
    EXPECT_FALSE(favourite(*c));
    store->toggleFavorite({*a, *b});
    EXPECT_FALSE(favourite(*a) || favourite(*b));
    EXPECT_TRUE(awaitResult(store->toggleFavorite({*c, "nobody"})));
    store.reset();
    auto reloaded = makeStore();
    EXPECT_EQ(reloaded->items()[0].id, *c);  // newest first
    EXPECT_TRUE(reloaded->items()[0].favorite);
}

TEST_F(MyBackgroundsStoreTest, RenamesTrimmedAndIgnoresBlankNames)
{
    auto store = makeStore();
    const auto id = add(*store, photoLikeImage({40, 30}, 1), "Old");
    ASSERT_TRUE(id);
    QSignalSpy changes(store.get(), &MyBackgroundsStore::itemsChanged);
    store->rename(*id, "  \n  ");
    store->rename("unknown", "Other");
    EXPECT_EQ(changes.count(), 0);
    const QFuture<bool> renamed = store->rename(*id, "\t New name \n");
    EXPECT_EQ(store->items()[0].name, "New name");
    EXPECT_TRUE(awaitResult(renamed));
    EXPECT_EQ(makeStore()->items()[0].name, "New name");
}

TEST_F(MyBackgroundsStoreTest, DeletesFilesAndRecordsAlsoWhenFilesAreGone)
{
    auto store = makeStore();
    const auto kept = add(*store, photoLikeImage({40, 30}, 1), "Kept");
    const auto gone = add(*store, photoLikeImage({40, 30}, 2), "Gone");
    const auto bare = add(*store, photoLikeImage({40, 30}, 3), "Bare");
    ASSERT_TRUE(kept && gone && bare);
    ASSERT_TRUE(awaitResult(store->thumbnail(*gone)));
    QFile::remove(image(*bare));
    QFile::remove(thumb(*bare));
    EXPECT_TRUE(awaitResult(store->deleteItems({*gone, *bare})));
    EXPECT_FALSE(QFile::exists(image(*gone)));
    EXPECT_FALSE(QFile::exists(thumb(*gone)));
    // The picture, not its thumbnail, is what the user may want back.
    EXPECT_EQ(QDir(cached("xdg-data/Trash/files")).entryList(QDir::Files), QStringList{*gone + ".jpg"});
    ASSERT_EQ(store->items().size(), 1);
    EXPECT_EQ(store->items()[0].id, *kept);
    EXPECT_EQ(awaitResult(store->thumbnail(*gone)), std::nullopt);
    EXPECT_EQ(makeStore()->items().size(), 1);

    const QFuture<bool> all = store->deleteMany();
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_TRUE(awaitResult(all));
    EXPECT_TRUE(QDir(m_root + "/images").entryList(QDir::Files).isEmpty());
}

TEST_F(MyBackgroundsStoreTest, WithoutATrashKeepsThePictureAsideOrDeletesItOnlyWhenAsked)
{
    auto store = makeStore();
    const auto kept = add(*store, photoLikeImage({40, 30}, 1), "Kept");
    const auto doomed = add(*store, photoLikeImage({40, 30}, 2), "Doomed");
    ASSERT_TRUE(kept && doomed);
    qputenv("XDG_DATA_HOME", cached("no-such-folder").toUtf8());
    const QString workingFolder = QDir::currentPath();
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    EXPECT_TRUE(awaitResult(store->deleteItems({*kept})));
    EXPECT_TRUE(awaitResult(store->deleteItems({*doomed}, MyBackgroundsStore::Removal::permanently)));
    QDir::setCurrent(workingFolder);
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    EXPECT_TRUE(store->items().isEmpty());

    EXPECT_EQ(readFile(m_root + "/Set Aside/" + *kept + ".jpg").left(2), QByteArray("\xFF\xD8"));
    EXPECT_FALSE(QFile::exists(image(*kept)));
    EXPECT_EQ(store->notice(), "Couldn't move that picture to the Trash. It is kept in the “Set Aside” folder of "
                               "My Backgrounds.");
    EXPECT_FALSE(QFile::exists(image(*doomed)));
    EXPECT_FALSE(QFile::exists(m_root + "/Set Aside/" + *doomed + ".jpg"));
}

TEST_F(MyBackgroundsStoreTest, LoadsOnlyRecordsWhosePictureIsThere)
{
    auto store = makeStore();
    const auto present = add(*store, photoLikeImage({40, 30}, 1), "Present");
    const auto removed = add(*store, photoLikeImage({40, 30}, 2), "Removed");
    ASSERT_TRUE(present && removed);
    QFile::remove(image(*removed));
    store.reset();
    auto reloaded = makeStore();
    ASSERT_EQ(reloaded->items().size(), 1);
    EXPECT_EQ(reloaded->items()[0].id, *present);
}

TEST_F(MyBackgroundsStoreTest, NeverTouchesFilesOutsideItsFolder)
{
    // A library file whose ids lead out of the folder, to files that exist there.
    writeFile(cached("victim.jpg"), "precious");
    writeFile(m_root + "/images/placeholder", "");
    const QByteArray library = R"([
        {"id":"../../victim","name":"x","source":"saved","created":1,"favorite":false,"width":1,"height":1,"bytes":1},
        {"id":"/tmp/x","name":"y","source":"saved","created":1,"favorite":false,"width":1,"height":1,"bytes":1}])";
    writeFile(m_root + "/library.json", library);
    auto store = makeStore();
    EXPECT_TRUE(store->items().isEmpty());
    store->deleteItems({"../../victim", "../victim", "/tmp/x"});
    awaitResult(store->deleteMany());
    EXPECT_EQ(readFile(cached("victim.jpg")), "precious");
    EXPECT_EQ(awaitResult(store->fullImage("../../victim")), std::nullopt);
}

TEST_F(MyBackgroundsStoreTest, StartsEmptyFromAnUnreadableLibraryFileButKeepsItsBytes)
{
    writeFile(m_root + "/library.json", R"([{"id":"A","name":"no other keys"}])");
    EXPECT_TRUE(makeStore()->items().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return readFile(m_root + "/library.json") == "[]"; })) << "the repaired list";
    writeFile(m_root + "/library.json", "garbage");
    auto store = makeStore();
    EXPECT_TRUE(store->items().isEmpty());
    // The next save replaces library.json; what each damaged version held stays
    // readable beside it, each version once.
    ASSERT_TRUE(add(*store, photoLikeImage({40, 30}, 1), "New"));
    EXPECT_EQ(readFile(m_root + "/library.damaged.json"), R"([{"id":"A","name":"no other keys"}])");
    EXPECT_EQ(readFile(m_root + "/library.damaged-2.json"), "garbage");
    writeFile(m_root + "/library.json", "garbage");
    EXPECT_EQ(makeStore()->items().size(), 1) << "a damaged list hides no picture";
    EXPECT_FALSE(QFile::exists(m_root + "/library.damaged-3.json"));
    EXPECT_EQ(QDir(m_root + "/images").entryList(QDir::Files).size(), 1);
}

TEST_F(MyBackgroundsStoreTest, SetsAsidePicturesThatNoRecordNamesWhenItLoads)
{
    auto store = makeStore();
    const auto kept = add(*store, photoLikeImage({40, 30}, 1), "Kept");
    ASSERT_TRUE(kept);
    store.reset();
    // Left by a crash between writing a picture and writing the list.
    const QString orphan = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    writeFile(image(orphan), "jpeg");
    writeFile(thumb(orphan), "jpeg");
    writeFile(m_root + "/images/notes.txt", "not ours");

    store = makeStore();
    EXPECT_TRUE(waitUntil([&] { return !QFile::exists(image(orphan)) && !QFile::exists(thumb(orphan)); }));
    EXPECT_EQ(readFile(m_root + "/Set Aside/" + orphan + ".jpg"), "jpeg");
    EXPECT_TRUE(QFile::exists(image(*kept)) && QFile::exists(thumb(*kept)));
    EXPECT_TRUE(QFile::exists(m_root + "/images/notes.txt"));
}

// A damaged library file hides no picture: what it still reads is listed, the
// pictures it no longer names are listed again, the repaired list is written
// back, and the notice says so once, when the list is first shown. A lost
// file is no damage: without any copy that names them, the pictures are set
// aside, not deleted.
TEST_F(MyBackgroundsStoreTest, ListsAgainWhatADamagedLibraryFileHid)
{
    auto store = makeStore();
    const auto oldest = add(*store, photoLikeImage({40, 30}, 1), "Oldest");
    const auto older = add(*store, photoLikeImage({40, 30}, 2), "Older");
    ASSERT_TRUE(older && oldest);
    store.reset();
    const QString libraryPath = m_root + "/library.json";
    const QByteArray library = readFile(libraryPath);
    const auto names = [](const MyBackgroundsStore& s) {
        QStringList list;
        for (const MyBackground& record : s.items())
            list.append(record.name);
        return list;
    };
    const auto written = [&](qsizetype records) {
        return waitUntil([&] {
            const auto decoded = decodeLibrary(readFile(libraryPath));
            return decoded && decoded->size() == records;
        });
    };

    // Cut short by a crash inside the oldest record.
    writeFile(libraryPath, library.left(library.size() - 5));
    store = makeStore();
    EXPECT_EQ(names(*store), (QStringList{"Older", "Oldest"}));
    EXPECT_EQ(store->items()[1].id, *oldest);
    EXPECT_TRUE(store->notice().isEmpty()) << "kept until someone looks";
    store->listShown();
    EXPECT_EQ(store->notice(), "The list of My Backgrounds was damaged and has been repaired.");
    EXPECT_TRUE(written(2));
    store.reset();
    store = makeStore();
    store->listShown();
    EXPECT_EQ(names(*store), (QStringList{"Older", "Oldest"}));
    EXPECT_TRUE(store->notice().isEmpty()) << "said once";
    ASSERT_TRUE(add(*store, photoLikeImage({40, 30}, 3), "Newer"));
    store.reset();

    // A list that was saved over a damaged one: the copy beside it gives back
    // the records it names.
    QList<MyBackground> newerOnly = *decodeLibrary(readFile(libraryPath));
    newerOnly.removeIf([](const MyBackground& record) { return record.name != "Newer"; });
    writeFile(libraryPath, encodeLibrary(newerOnly));
    writeFile(m_root + "/library.damaged.json", library);
    store = makeStore();
    store->listShown();
    EXPECT_EQ(names(*store), (QStringList{"Newer", "Older", "Oldest"}));
    EXPECT_FALSE(store->notice().isEmpty());
    EXPECT_TRUE(written(3));
    store.reset();

    // Lost, with no copy that names them: set aside.
    for (const QString& copy : QDir(m_root).entryList({"library*.json"}, QDir::Files))
        QFile::remove(m_root + "/" + copy);
    store = makeStore();
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return !QFile::exists(image(*older)); }));
    EXPECT_TRUE(QFile::exists(m_root + "/Set Aside/" + *older + ".jpg"));
    EXPECT_TRUE(QFile::exists(m_root + "/Set Aside/" + *oldest + ".jpg"));
}

// However the library file was damaged, every name its bytes still hold
// comes back with its picture; only the others are "Recovered background".
TEST_F(MyBackgroundsStoreTest, KeepsEveryNameTheDamagedBytesStillHold)
{
    auto store = makeStore();
    for (const QString name : {"Beach", "Forest, \"at dusk\"", "Studio {grey}"})
        ASSERT_TRUE(add(*store, photoLikeImage({40, 30}, name.size()), name));
    const QList<MyBackground> saved = store->items();
    store.reset();
    const QString libraryPath = m_root + "/library.json";
    const QByteArray library = readFile(libraryPath);
    const auto at = [&](const QByteArray& text) { return library.indexOf(text); };
    const QString lost = "Recovered background";

    struct Damage {
        const char* what;
        QByteArray bytes;
        QStringList names;  // newest first
    };
    // Over the newest record's source, which a repair makes "imported" again.
    QByteArray scribbled = library;
    scribbled.replace(at("\"source\""), 20, "\x01#]\"x\xff\xfe,,garbage:");
    const Damage damages[] = {
        {"the first 100 bytes", library.left(100), {"Studio {grey}", lost, lost}},
        {"cut inside the last name", library.left(at("Beach") + 3), {"Studio {grey}", "Forest, \"at dusk\"", lost}},
        {"garbage inside the first record", scribbled, {"Studio {grey}", "Forest, \"at dusk\"", "Beach"}},
        {"cut inside the first size", library.left(at("\"bytes\":") + 10), {"Studio {grey}", lost, lost}},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        writeFile(libraryPath, damage.bytes);
        for (const QString& copy : QDir(m_root).entryList({"library.damaged*.json"}, QDir::Files))
            QFile::remove(m_root + "/" + copy);
        store = makeStore();
        ASSERT_EQ(store->items().size(), 3);
        QStringList names;
        for (int i = 0; i < 3; ++i) {
            names.append(store->items()[i].name);
            EXPECT_EQ(store->items()[i].id, saved[i].id);
        }
        EXPECT_EQ(names, damage.names);
        // Each size is its picture file's, whatever number the damage left.
        for (const MyBackground& record : store->items())
            EXPECT_EQ(record.bytes, QFileInfo(image(record.id)).size()) << record.name.toStdString();
        if (damage.names == QStringList{saved[0].name, saved[1].name, saved[2].name}) {
            EXPECT_EQ(store->items(), saved) << "every field read back";
        }
        // The repaired list is written back before the next damage is laid.
        EXPECT_TRUE(waitUntil([&] {
            const auto repaired = decodeLibrary(readFile(libraryPath));
            return repaired && repaired->size() == 3;
        }));
        store.reset();
    }
}

TEST_F(MyBackgroundsStoreTest, UndoesAndReportsAChangeItCannotWrite)
{
    auto store = makeStore();
    const auto a = add(*store, photoLikeImage({40, 30}, 1), "A");
    const auto b = add(*store, photoLikeImage({40, 30}, 2), "B");
    ASSERT_TRUE(a && b);
    QFile::remove(m_root + "/library.json");
    QDir(m_root).mkpath("library.json");  // a folder: the library file can't be replaced

    const QFuture<bool> renamed = store->rename(*a, "Renamed");
    const QFuture<bool> favourite = store->toggleFavorite({*b});
    const QFuture<bool> deleted = store->deleteItems({*b});
    EXPECT_EQ(store->items().size(), 1) << "shown at once";
    EXPECT_FALSE(awaitResult(renamed));
    EXPECT_FALSE(awaitResult(favourite));
    EXPECT_FALSE(awaitResult(deleted));
    EXPECT_EQ(store->notice(), "Couldn't save that change.");
    ASSERT_EQ(store->items().size(), 2) << "what the next launch would load";
    EXPECT_EQ(store->items()[1].name, "A");
    EXPECT_FALSE(store->items()[0].favorite);
    EXPECT_TRUE(QFile::exists(image(*b))) << "a delete that did not stick keeps the files";
}

TEST_F(MyBackgroundsStoreTest, WorkInFlightOutlivesTheStoreHarmlessly)
{
    auto store = makeStore();
    const QFuture<std::optional<QString>> added = store->add(photoLikeImage({1200, 800}, 3), "Late", "imported");
    const QFuture<void> backdrop = store->addFromBackdrop(Backdrop::presets()[2]);
    const QFuture<std::optional<Image>> thumbnail = store->thumbnail("0");
    store.reset();
    EXPECT_TRUE(waitUntil([&] { return added.isFinished() && backdrop.isFinished() && thumbnail.isFinished(); }));
    EXPECT_TRUE(added.isCanceled());
}

TEST_F(MyBackgroundsStoreTest, OneDamagedRecordCostsNoOther)
{
    auto store = makeStore();
    const auto kept = add(*store, photoLikeImage({40, 30}, 1), "Kept");
    ASSERT_TRUE(kept);
    store.reset();
    QByteArray library = readFile(m_root + "/library.json");
    library.replace("[{", R"([{"id":"B","name":"no other keys"},{)");
    writeFile(m_root + "/library.json", library);

    auto reloaded = makeStore();
    ASSERT_EQ(reloaded->items().size(), 1);
    EXPECT_EQ(reloaded->items()[0].id, *kept);
    EXPECT_EQ(readFile(m_root + "/library.damaged.json"), library);
}

} // namespace
} // namespace zephrin
