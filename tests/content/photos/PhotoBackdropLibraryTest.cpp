#include "content/net/ContentSource.h"
#include "content/photos/PhotoBackdropLibrary.h"

#include "content/support/ContentFixture.h"
#include "support/HostileImages.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>

namespace zephrin {
namespace {

using namespace zephrin::testing;
using Phase = PhotoLibraryStatus::Phase;

const QString kManifest = QStringLiteral("/zephrin/backdrops/manifest.json");

QJsonObject photoJson(const QString& id, const QString& category)
{
    return {{"id", id}, {"category", category}, {"location", "Somewhere " + id}};
}

QByteArray manifestJson(const QJsonArray& items, const QJsonValue& categories = QJsonValue::Undefined)
{
    QJsonObject root{{"version", 1}, {"items", items}};
    if (!categories.isUndefined())
        root.insert("categories", categories);
    return jsonBytes(QJsonDocument(root));
}

class PhotoBackdropLibraryTest : public ContentFixture {
protected:
    std::unique_ptr<PhotoBackdropLibrary> makeLibrary()
    {
        return std::make_unique<PhotoBackdropLibrary>(contentResourceBase(server().address(), "zephrin/backdrops"),
                                                      cached("PhotoBackdrops"));
    }

    // What the photo grid does: loading, then refresh() to the end.
    void refresh(PhotoBackdropLibrary& library)
    {
        library.setStatus({Phase::loading, {}});
        ASSERT_TRUE(awaitDone(library.refresh()));
    }

    std::unique_ptr<PhotoBackdropLibrary> loaded(const QByteArray& manifest)
    {
        writeFile(served("zephrin/backdrops/manifest.json"), manifest);
        auto library = makeLibrary();
        refresh(*library);
        return library;
    }

    QString cacheFile(const QString& relative) { return cached("PhotoBackdrops/" + relative); }
    void servePhoto(const QString& id, QColor color)
    {
        writeFile(served("zephrin/backdrops/thumbs/" + id + ".jpg"), pictureBytes({120, 80}, color, "JPEG"));
        writeFile(served("zephrin/backdrops/full/" + id + ".jpg"), pictureBytes({600, 400}, color, "JPEG"));
    }
};

TEST_F(PhotoBackdropLibraryTest, LoadsTheCatalogueIntoCategories)
{
    const QByteArray manifest = manifestJson(
        {photoJson("lake", "Nature"), photoJson("desk", "Office"), photoJson("hill", "Nature")},
        QJsonArray{"Nature", "Office", "Nature", "Empty"});
    auto library = makeLibrary();
    EXPECT_EQ(library->categories(), QStringList{"All"});
    writeFile(served("zephrin/backdrops/manifest.json"), manifest);
    refresh(*library);
    EXPECT_EQ(library->status().phase, Phase::ready);
    EXPECT_EQ(library->categories(), QStringList({"All", "Nature", "Office", "Empty"}));
    EXPECT_EQ(library->items("All"), library->items());
    ASSERT_EQ(library->items("Nature").size(), 2);
    EXPECT_EQ(library->items("Nature")[1].id, "hill");
    EXPECT_TRUE(library->items("Empty").isEmpty());
    EXPECT_TRUE(library->items("nature").isEmpty());
    EXPECT_EQ(library->items()[0].location, "Somewhere lake");
    EXPECT_EQ(readFile(cacheFile("manifest.json")), manifest);
}

TEST_F(PhotoBackdropLibraryTest, TakesCategoriesFromTheItemsWhenTheCatalogueHasNone)
{
    const QJsonArray items{photoJson("a", "Sea"), photoJson("b", "City"), photoJson("c", "Sea")};
    EXPECT_EQ(loaded(manifestJson(items))->categories(), QStringList({"All", "Sea", "City"}));
    EXPECT_EQ(loaded(manifestJson(items, QJsonValue::Null))->categories(), QStringList({"All", "Sea", "City"}));
}

TEST_F(PhotoBackdropLibraryTest, RejectsACatalogueWithoutVersionWhole)
{
    const QByteArray noVersion = jsonBytes(QJsonDocument(QJsonObject{{"items", QJsonArray{photoJson("a", "Sea")}}}));
    const QByteArray badCategories = manifestJson({photoJson("a", "Sea")}, QJsonArray{"Sea", 3});
    for (const QByteArray& manifest : {noVersion, badCategories}) {
        auto library = loaded(manifest);
        EXPECT_EQ(library->status().message, "Couldn't reach the photo library. Check your internet connection.");
        EXPECT_TRUE(library->items().isEmpty());
        EXPECT_FALSE(QFile::exists(cacheFile("manifest.json")));
    }
}

TEST_F(PhotoBackdropLibraryTest, LeavesOutAMalformedPhotoAndKeepsTheRest)
{
    // The whole catalogue was refused for one photo without a location.
    auto library = loaded(manifestJson({photoJson("a", "Sea"), QJsonObject{{"id", "b"}, {"category", "Sea"}},
                                        QJsonValue(7), photoJson("c", "City")}));
    EXPECT_EQ(library->status().phase, Phase::ready);
    ASSERT_EQ(library->items().size(), 2);
    EXPECT_EQ(library->items()[1].id, "c");
}

TEST_F(PhotoBackdropLibraryTest, AFolderThatHoldsNoCatalogueIsNamed)
{
    // "Check your internet connection" said nothing of a folder on disk.
    writeFile(served("zephrin/backdrops/manifest.json"), "{\"items\": ");
    PhotoBackdropLibrary library(contentResourceBase(QUrl::fromLocalFile(m_served.path()), "zephrin/backdrops"),
                                 cached("PhotoBackdrops"));
    refresh(library);
    EXPECT_EQ(library.status().phase, Phase::failed);
    EXPECT_EQ(library.status().message,
              QStringLiteral("Couldn't read the photo library in %1/zephrin/backdrops.").arg(m_served.path()));
}

TEST_F(PhotoBackdropLibraryTest, NeverOpensAPipeInACatalogueFolder)
{
    // A thumbnail that was a pipe held a worker thread for ever.
    writeFile(served("zephrin/backdrops/manifest.json"), manifestJson({photoJson("sea", "Nature")}));
    QDir(m_served.path()).mkpath("zephrin/backdrops/thumbs");
    const WatchedFifo pipe(served("zephrin/backdrops/thumbs/sea.jpg"));
    server().stop();
    PhotoBackdropLibrary library(contentResourceBase(QUrl::fromLocalFile(m_served.path()), "zephrin/backdrops"),
                                 cached("PhotoBackdrops"));
    refresh(library);
    EXPECT_EQ(awaitResult(library.thumbnail("sea")), std::nullopt);
    EXPECT_FALSE(pipe.wasOpened());
}

TEST_F(PhotoBackdropLibraryTest, SkipsPhotosWhoseIdsAreNotPlainNames)
{
    auto library = loaded(manifestJson({photoJson("../../escape", "Sea"), photoJson("a/b", "Sea"),
                                        photoJson("", "Sea"), photoJson("..", "Sea"), photoJson("ok #1?", "Sea")}));
    ASSERT_EQ(library->items().size(), 1);
    servePhoto("ok #1?", Qt::red);
    // The id travels percent-encoded and arrives whole.
    EXPECT_TRUE(awaitResult(library->thumbnail("ok #1?")));
    EXPECT_EQ(server().requests("/zephrin/backdrops/thumbs/ok #1?.jpg"), 1);
    EXPECT_TRUE(QFile::exists(cacheFile("thumbs/ok #1?.jpg")));

    EXPECT_EQ(awaitResult(library->thumbnail("../../escape")), std::nullopt);
    EXPECT_EQ(awaitResult(library->fullImage("../manifest")), std::nullopt);
    EXPECT_EQ(server().totalRequests(), 2);
}

TEST_F(PhotoBackdropLibraryTest, KeepsTheCachedCatalogueWhenTheServerSendsGarbage)
{
    const QByteArray cachedManifest = manifestJson({photoJson("kept", "Sea")});
    writeFile(cacheFile("manifest.json"), cachedManifest);
    auto library = loaded("<html>maintenance</html>");
    EXPECT_EQ(library->status().phase, Phase::ready);
    ASSERT_EQ(library->items().size(), 1);
    EXPECT_EQ(readFile(cacheFile("manifest.json")), cachedManifest);
}

TEST_F(PhotoBackdropLibraryTest, IsReadyFromCacheOfflineAndFailsWithNeither)
{
    server().stop();
    auto empty = makeLibrary();
    refresh(*empty);
    EXPECT_EQ(empty->status(), PhotoLibraryStatus::failed(empty->failureMessage()));

    writeFile(cacheFile("manifest.json"), manifestJson({photoJson("kept", "Sea")}));
    auto cachedLibrary = makeLibrary();
    refresh(*cachedLibrary);
    EXPECT_EQ(cachedLibrary->status().phase, Phase::ready);
    EXPECT_EQ(cachedLibrary->categories(), QStringList({"All", "Sea"}));
}

TEST_F(PhotoBackdropLibraryTest, ReadsACatalogueFolderInPlace)
{
    writeFile(served("zephrin/backdrops/manifest.json"), manifestJson({photoJson("sea", "Nature")}));
    servePhoto("sea", Qt::blue);
    server().stop();
    PhotoBackdropLibrary library(contentResourceBase(QUrl::fromLocalFile(m_served.path()), "zephrin/backdrops"),
                                 cached("PhotoBackdrops"));
    refresh(library);
    ASSERT_EQ(library.status().phase, Phase::ready);
    EXPECT_EQ(library.categories(), QStringList({"All", "Nature"}));

    const auto thumbnail = awaitResult(library.thumbnail("sea"));
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->size(), cv::Size(120, 80));
    const auto full = awaitResult(library.fullImage("sea"));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->size(), cv::Size(600, 400));
    EXPECT_EQ(awaitResult(library.fullImage("lost")), std::nullopt);
    // Nothing is copied: the folder is the catalogue's only copy.
    EXPECT_TRUE(QDir(cached("PhotoBackdrops")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(PhotoBackdropLibraryTest, SharesOneDownloadAmongTwentyTiles)
{
    servePhoto("lake", Qt::blue);
    auto library = makeLibrary();
    std::vector<QFuture<std::optional<Image>>> tiles;
    for (int i = 0; i < 20; ++i)
        tiles.push_back(library->thumbnail("lake"));
    for (auto& tile : tiles) {
        const auto image = awaitResult(tile);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size(), cv::Size(120, 80));
    }
    EXPECT_EQ(server().requests("/zephrin/backdrops/thumbs/lake.jpg"), 1);
    EXPECT_TRUE(library->cachedThumbnail("lake"));
}

TEST_F(PhotoBackdropLibraryTest, StoresNothingForABodyThatIsNoPicture)
{
    server().respond("/zephrin/backdrops/thumbs/fake.jpg", 200, "<html>not found</html>");
    auto library = makeLibrary();
    EXPECT_EQ(awaitResult(library->thumbnail("fake")), std::nullopt);
    EXPECT_FALSE(QFile::exists(cacheFile("thumbs/fake.jpg")));
    EXPECT_FALSE(library->cachedThumbnail("fake"));
}

TEST_F(PhotoBackdropLibraryTest, ShowsAThumbnailOnDiskWithoutNetwork)
{
    writeFile(cacheFile("thumbs/lake.jpg"), pictureBytes({90, 60}, Qt::green, "JPEG"));
    server().stop();
    auto library = makeLibrary();
    const auto image = awaitResult(library->thumbnail("lake"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), cv::Size(90, 60));
}

TEST_F(PhotoBackdropLibraryTest, ReplacesADamagedFileWithTheNextGoodDownload)
{
    writeFile(cacheFile("full/lake.jpg"), "truncated");
    servePhoto("lake", Qt::yellow);
    auto library = makeLibrary();
    const auto image = awaitResult(library->fullImage("lake"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), cv::Size(600, 400));
    EXPECT_EQ(readFile(cacheFile("full/lake.jpg")), readFile(served("zephrin/backdrops/full/lake.jpg")));
    // Kept on disk, not in memory: the next request reads the file.
    EXPECT_TRUE(awaitResult(library->fullImage("lake")));
    EXPECT_EQ(server().requests("/zephrin/backdrops/full/lake.jpg"), 1);
}

TEST_F(PhotoBackdropLibraryTest, NotifiesOnlyWhenAPropertyChanges)
{
    const QByteArray manifest = manifestJson({photoJson("a", "Sea")});
    writeFile(cacheFile("manifest.json"), manifest);
    writeFile(served("zephrin/backdrops/manifest.json"), manifest);
    auto library = makeLibrary();
    QSignalSpy items(library.get(), &PhotoBackdropLibrary::itemsChanged);
    QSignalSpy status(library.get(), &PhotoBackdropLibrary::statusChanged);
    refresh(*library);
    EXPECT_EQ(items.count(), 1);
    EXPECT_EQ(status.count(), 2);  // loading, ready
    library->setStatus(library->status());
    EXPECT_EQ(status.count(), 2);
}

} // namespace
} // namespace zephrin
