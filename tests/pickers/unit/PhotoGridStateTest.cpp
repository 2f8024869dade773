// The photo grid over a photo library on a loopback server: what it shows in
// each state of the catalogue, how often it loads it, and keeping a photo in
// My Backgrounds.

#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/net/ContentSource.h"
#include "content/photos/PhotoBackdropLibrary.h"
#include "content/support/StaticHttpServer.h"
#include "content/support/Waiting.h"
#include "pickers/backdrops/PhotoGridState.h"
#include "support/GuiApplication.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

using namespace zephrin::testing;

const QString kManifest = QStringLiteral("/zephrin/backdrops/manifest.json");

class PhotoGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
        server = std::make_unique<StaticHttpServer>(folder.filePath("served"));
        library = std::make_unique<PhotoBackdropLibrary>(
            contentResourceBase(server->address(), "zephrin/backdrops"), folder.filePath("cache"));
        store = std::make_unique<MyBackgroundsStore>(folder.filePath("mine"), nullptr, std::chrono::milliseconds(60000));
        grid.setLibraryObject(library.get());
        grid.setStoreObject(store.get());
    }

    void write(const QString& relative, const QByteArray& bytes)
    {
        const QString path = folder.filePath("served/zephrin/backdrops/" + relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void serve(const QJsonArray& items, const QJsonArray& categories = {})
    {
        QJsonObject manifest{{"version", 1}, {"items", items}};
        if (!categories.isEmpty())
            manifest.insert("categories", categories);
        write("manifest.json", QJsonDocument(manifest).toJson());
    }

    void servePhoto(const QString& id)
    {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPEG");
        write("full/" + id + ".jpg", bytes);
    }

    bool settled()
    {
        return waitUntil([&] { return library->status().phase != PhotoLibraryStatus::Phase::loading; });
    }

    QStringList tileIDs() const
    {
        QStringList ids;
        for (const Tile& tile : const_cast<PhotoGridState&>(grid).tiles()->tiles())
            ids << tile.id;
        return ids;
    }

    QTemporaryDir folder;
    std::unique_ptr<StaticHttpServer> server;
    std::unique_ptr<PhotoBackdropLibrary> library;
    std::unique_ptr<MyBackgroundsStore> store;
    PhotoGridState grid;
};

QJsonObject photo(const QString& id, const QString& category, const QString& location)
{
    return {{"id", id}, {"category", category}, {"location", location}};
}

TEST_F(PhotoGrid, LoadsOnceThenShowsTheCategoriesTiles)
{
    serve({photo("lake", "Nature", "misty_lake"), photo("desk", "Office", "old_brick_WALL"),
           photo("hill", "Nature", "hill")},
          {"Nature", "Office", "Empty"});
    EXPECT_EQ(grid.content(), "loading");
    EXPECT_EQ(grid.categories(), QStringList{"All"});
    EXPECT_EQ(grid.category(), "All");

    grid.loadIfNeeded();
    grid.loadIfNeeded();  // appearing again while it loads starts nothing
    EXPECT_EQ(library->status().phase, PhotoLibraryStatus::Phase::loading);
    ASSERT_TRUE(settled());
    EXPECT_EQ(server->requests(kManifest), 1);
    grid.loadIfNeeded();  // once ready, appearing fetches nothing
    EXPECT_EQ(server->requests(kManifest), 1);

    EXPECT_EQ(grid.content(), "grid");
    EXPECT_EQ(grid.categories(), QStringList({"All", "Nature", "Office", "Empty"}));
    EXPECT_EQ(tileIDs(), QStringList({"lake", "desk", "hill"}));
    EXPECT_EQ(grid.tiles()->tiles()[1].name, "Old Brick Wall");
    EXPECT_TRUE(grid.countLine().startsWith("3 backgrounds."));

    grid.setCategory("Office");
    EXPECT_EQ(tileIDs(), QStringList{"desk"});
    EXPECT_TRUE(grid.countLine().startsWith("1 background."));
    // A listed category without photos: no tiles, the count 0, still the grid.
    grid.setCategory("Empty");
    EXPECT_TRUE(tileIDs().isEmpty());
    EXPECT_TRUE(grid.countLine().startsWith("0 backgrounds."));
    EXPECT_EQ(grid.content(), "grid");
}

TEST_F(PhotoGrid, AFailedLoadShowsItsMessageAndTryAgainLoadsAgain)
{
    grid.loadIfNeeded();  // nothing served: 404
    ASSERT_TRUE(settled());
    EXPECT_EQ(grid.content(), "failed");
    EXPECT_EQ(grid.message(), "Couldn't reach the photo library. Check your internet connection.");

    serve({photo("lake", "Nature", "lake")});
    grid.retry();
    EXPECT_EQ(grid.content(), "loading");
    ASSERT_TRUE(settled());
    EXPECT_EQ(server->requests(kManifest), 2);
    EXPECT_EQ(grid.content(), "grid");
    EXPECT_EQ(tileIDs(), QStringList{"lake"});
}

TEST_F(PhotoGrid, AnEmptyCatalogueSaysSoAndCanBeLoadedAgain)
{
    serve({});
    grid.loadIfNeeded();
    ASSERT_TRUE(settled());
    EXPECT_EQ(library->status().phase, PhotoLibraryStatus::Phase::ready);
    // Not "Loading photos…" for ever.
    EXPECT_EQ(grid.content(), "empty");
    EXPECT_EQ(grid.message(), "No photos available.");

    // Appearing again does not reload a loaded catalogue; Try Again does.
    grid.loadIfNeeded();
    EXPECT_EQ(server->requests(kManifest), 1);
    serve({photo("lake", "Nature", "lake")});
    grid.retry();
    ASSERT_TRUE(settled());
    EXPECT_EQ(server->requests(kManifest), 2);
    EXPECT_EQ(grid.content(), "grid");
    // With photos in hand, Try Again has nothing to do.
    grid.retry();
    EXPECT_EQ(server->requests(kManifest), 2);
}

TEST_F(PhotoGrid, AddingAPhotoToMyBackgroundsReportsTheOutcome)
{
    serve({photo("lake", "Nature", "misty_lake"), photo("gone", "Nature", "gone")});
    servePhoto("lake");
    grid.loadIfNeeded();
    ASSERT_TRUE(settled());

    grid.addToMyBackgrounds("lake");
    ASSERT_TRUE(waitUntil([&] { return !store->notice().isEmpty(); }));
    EXPECT_EQ(store->notice(), "Added to My Backgrounds");
    ASSERT_EQ(store->items().size(), 1);
    EXPECT_EQ(store->items()[0].name, "Misty Lake");
    EXPECT_EQ(store->items()[0].source, "saved");

    grid.addToMyBackgrounds("gone");  // no full photo on the server
    ASSERT_TRUE(waitUntil([&] { return store->notice() == "Couldn't download that photo."; }));
    EXPECT_EQ(store->items().size(), 1);
}

} // namespace
} // namespace zephrin
