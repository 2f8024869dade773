#include "content/fonts/FontLibrary.h"
#include "content/net/ContentSource.h"

#include "content/support/ContentFixture.h"
#include "engine/text/FontFixtures.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>

namespace zephrin {
namespace {

using namespace zephrin::testing;

const QString kCatalogue = QStringLiteral("/zephrin/fonts/fonts.json");

QJsonObject itemJson(const QString& id, const QJsonObject& files, const QString& category = "Sans Serif")
{
    return {{"id", id}, {"name", id.toUpper()}, {"category", category}, {"files", files}};
}

QByteArray catalogueJson(const QJsonArray& items, const QJsonArray& categories = {"Sans Serif", "Serif"})
{
    return jsonBytes(QJsonDocument(QJsonObject{{"categories", categories}, {"items", items}}));
}

class FontLibraryTest : public ContentFixture {
protected:
    void SetUp() override
    {
        ContentFixture::SetUp();
        m_folder = cached("Fonts");
    }

    std::unique_ptr<FontLibrary> makeLibrary()
    {
        return std::make_unique<FontLibrary>(contentResourceBase(server().address(), "zephrin/fonts"), m_folder,
                                             std::make_unique<QSettings>(cached("settings.ini"), QSettings::IniFormat));
    }

    // Serves `catalogue`, loads it and waits for the load to end.
    std::unique_ptr<FontLibrary> loaded(const QByteArray& catalogue)
    {
        writeFile(served("zephrin/fonts/fonts.json"), catalogue);
        auto library = makeLibrary();
        library->loadIfNeeded();
        EXPECT_EQ(library->status(), FontLibrary::Status::loading);
        EXPECT_TRUE(waitUntil([&] { return library->status() != FontLibrary::Status::loading; }));
        return library;
    }

    // A renamed copy of a Debian face on the server at `path`, below the fonts folder.
    RenamedFont serveFont(const QString& path) { return writeRenamedFont(served("zephrin/fonts/" + path)); }

    QString m_folder;
};

TEST_F(FontLibraryTest, LoadsTheCatalogueAndKeepsItsBytesOnDisk)
{
    const QByteArray catalogue =
        catalogueJson({itemJson("sans", {{"regular", "sans/Sans.otf"}}),
                       itemJson("serif", {{"regular", "serif/Serif.otf"}, {"bold", "serif/Serif-Bold.otf"}}, "Serif")});
    auto library = loaded(catalogue);
    EXPECT_EQ(library->status(), FontLibrary::Status::ready);
    ASSERT_EQ(library->items().size(), 2);
    EXPECT_EQ(library->items()[1].id, "serif");
    EXPECT_EQ(library->items()[1].files.value("bold"), "serif/Serif-Bold.otf");
    EXPECT_EQ(library->categories(), QStringList({"Sans Serif", "Serif"}));
    EXPECT_EQ(readFile(m_folder + "/fonts.json"), catalogue);

    // Ready is final: no second request.
    library->loadIfNeeded();
    EXPECT_EQ(library->status(), FontLibrary::Status::ready);
    EXPECT_EQ(server().requests(kCatalogue), 1);
}

TEST_F(FontLibraryTest, LeavesOutAMalformedItemAndKeepsTheRest)
{
    auto refused = loaded(R"({"items": []})"); // no categories: no catalogue
    EXPECT_EQ(refused->status(), FontLibrary::Status::failed);
    EXPECT_EQ(refused->failureMessage(), "Couldn't reach the font library. Check your internet connection.");
    EXPECT_FALSE(QFile::exists(m_folder + "/fonts.json"));

    // One malformed item refused the whole catalogue.
    const QJsonObject noFiles{{"id", "x"}, {"name", "X"}, {"category", "Serif"}};
    const QJsonObject numberFile = itemJson("y", {{"regular", 7}});
    for (const QJsonObject& bad : {noFiles, numberFile}) {
        auto library = loaded(catalogueJson({itemJson("good", {{"regular", "good.otf"}}), bad}));
        EXPECT_EQ(library->status(), FontLibrary::Status::ready);
        ASSERT_EQ(library->items().size(), 1);
        EXPECT_EQ(library->items()[0].id, "good");
    }
}

TEST_F(FontLibraryTest, SkipsItemsWhosePathsLeaveTheFontsFolder)
{
    const QJsonArray items{
        itemJson("../escape", {{"regular", "escape.otf"}}),
        itemJson("up", {{"regular", "../../up.otf"}}),
        itemJson("absolute", {{"regular", "/tmp/absolute.otf"}}),
        itemJson("backslash", {{"regular", "a\\..\\b.otf"}}),
        itemJson("empty", {{"regular", "a//b.otf"}}),
        itemJson("sneaky", {{"regular", "fine.otf"}, {"bold", "x/../../bold.otf"}}),
        itemJson("good", {{"regular", "good/Good.otf"}}),
    };
    auto library = loaded(catalogueJson(items));
    EXPECT_EQ(library->status(), FontLibrary::Status::ready);
    ASSERT_EQ(library->items().size(), 1);
    EXPECT_EQ(library->items()[0].id, "good");

    // An unsafe item made elsewhere is refused before anything is fetched.
    const FontItem unsafe{"up", "Up", "Serif", {{"regular", "../../up.otf"}}};
    EXPECT_EQ(awaitResult(library->download(unsafe)), std::nullopt);
    EXPECT_EQ(awaitResult(library->preview("../fonts")), std::nullopt);
    EXPECT_EQ(server().totalRequests(), 1);
    EXPECT_TRUE(library->downloading().isEmpty());
}

TEST_F(FontLibraryTest, KeepsTheCachedCatalogueWhenTheServerSendsGarbage)
{
    const QByteArray cachedCatalogue = catalogueJson({itemJson("cached", {{"regular", "c.otf"}})});
    writeFile(m_folder + "/fonts.json", cachedCatalogue);
    auto library = loaded("{ this is not a catalogue");
    EXPECT_EQ(library->status(), FontLibrary::Status::ready);
    ASSERT_EQ(library->items().size(), 1);
    EXPECT_EQ(library->items()[0].id, "cached");
    EXPECT_EQ(readFile(m_folder + "/fonts.json"), cachedCatalogue);
}

TEST_F(FontLibraryTest, IsReadyFromTheCachedCatalogueWithoutNetwork)
{
    writeFile(m_folder + "/fonts.json", catalogueJson({itemJson("cached", {{"regular", "c.otf"}})}));
    server().stop();
    auto library = makeLibrary();
    library->loadIfNeeded();
    ASSERT_TRUE(waitUntil([&] { return library->status() != FontLibrary::Status::loading; }));
    EXPECT_EQ(library->status(), FontLibrary::Status::ready);
    EXPECT_EQ(library->items().size(), 1);
}

TEST_F(FontLibraryTest, FailsWithNeitherServerNorCacheAndMayRetry)
{
    auto library = makeLibrary();
    library->loadIfNeeded();  // the server has no fonts.json yet: 404
    ASSERT_TRUE(waitUntil([&] { return library->status() != FontLibrary::Status::loading; }));
    EXPECT_EQ(library->status(), FontLibrary::Status::failed);

    writeFile(served("zephrin/fonts/fonts.json"), catalogueJson({itemJson("late", {{"regular", "l.otf"}})}));
    library->loadIfNeeded();
    ASSERT_TRUE(waitUntil([&] { return library->status() != FontLibrary::Status::loading; }));
    EXPECT_EQ(library->status(), FontLibrary::Status::ready);
    EXPECT_EQ(server().requests(kCatalogue), 2);
}

TEST_F(FontLibraryTest, NotifiesOnlyWhenTheCatalogueChanges)
{
    const QByteArray catalogue = catalogueJson({itemJson("same", {{"regular", "s.otf"}})});
    writeFile(m_folder + "/fonts.json", catalogue);
    writeFile(served("zephrin/fonts/fonts.json"), catalogue);
    auto library = makeLibrary();
    QSignalSpy items(library.get(), &FontLibrary::itemsChanged);
    QSignalSpy categories(library.get(), &FontLibrary::categoriesChanged);
    library->loadIfNeeded();
    ASSERT_TRUE(waitUntil([&] { return library->status() == FontLibrary::Status::ready; }));
    EXPECT_EQ(items.count(), 1);  // the cached copy; the equal download is silent
    EXPECT_EQ(categories.count(), 1);
}

TEST_F(FontLibraryTest, DownloadsRegistersAndNamesAFamily)
{
    const RenamedFont regular = serveFont("with space/Face #1.otf");
    serveFont("with space/bold/Face-Bold.otf");
    const FontItem item{"face", "Face", "Sans Serif",
                        {{"regular", "with space/Face #1.otf"}, {"bold", "with space/bold/Face-Bold.otf"}}};
    auto library = makeLibrary();
    QSignalSpy downloading(library.get(), &FontLibrary::downloadingChanged);
    auto future = library->download(item);
    EXPECT_TRUE(library->downloading().contains("face"));
    EXPECT_EQ(awaitResult(future), std::optional<QString>(regular.postScriptName));
    EXPECT_TRUE(library->downloading().isEmpty());
    EXPECT_EQ(downloading.count(), 2);
    EXPECT_TRUE(QFile::exists(m_folder + "/with space/Face #1.otf"));
    EXPECT_TRUE(QFile::exists(m_folder + "/with space/bold/Face-Bold.otf"));
    EXPECT_TRUE(QFontDatabase::families().contains(regular.family));
    EXPECT_EQ(server().requests("/zephrin/fonts/with space/Face #1.otf"), 1);

    // Now on disk: named again without the network.
    server().stop();
    EXPECT_EQ(awaitResult(library->download(item)), std::optional<QString>(regular.postScriptName));
}

TEST_F(FontLibraryTest, UsesAnInstalledFamilyAtOnceWithoutAnyDownload)
{
    // fonts-urw-base35 is installed; its files are nowhere on the server.
    const FontItem installed{"nimbus-sans", "Nimbus Sans", "Sans Serif",
                             {{"regular", "nimbus-sans/NimbusSans-Regular.otf"}, {"bold", "nimbus-sans/Bold.otf"}}};
    auto library = makeLibrary();
    EXPECT_EQ(awaitResult(library->download(installed)), std::optional<QString>("NimbusSans-Regular"));
    EXPECT_TRUE(library->downloading().isEmpty());
    EXPECT_EQ(server().totalRequests(), 0);
    EXPECT_FALSE(QFile::exists(m_folder + "/nimbus-sans"));

    // A family the machine lacks is still fetched, though its name starts like an installed one.
    const RenamedFont regular = serveFont("n/Regular.otf");
    const FontItem missing{"n", "Nimbus Sans Zephrin", "Sans Serif", {{"regular", "n/Regular.otf"}}};
    EXPECT_EQ(awaitResult(library->download(missing)), std::optional<QString>(regular.postScriptName));
    EXPECT_EQ(server().requests("/zephrin/fonts/n/Regular.otf"), 1);
}

TEST_F(FontLibraryTest, ReadsACatalogueFolderInPlaceAndCopiesOnlyTheFontsItUses)
{
    writeFile(served("zephrin/fonts/fonts.json"), catalogueJson({itemJson("f", {{"regular", "f/F.otf"}})}));
    const RenamedFont regular = serveFont("f/F.otf");
    writeFile(served("zephrin/fonts/previews/f.png"), pictureBytes({200, 40}, Qt::black, "PNG"));
    server().stop();
    FontLibrary library(contentResourceBase(QUrl::fromLocalFile(m_served.path() + "/"), "zephrin/fonts"), m_folder,
                        std::make_unique<QSettings>(cached("settings.ini"), QSettings::IniFormat));
    library.loadIfNeeded();
    ASSERT_TRUE(waitUntil([&] { return library.status() != FontLibrary::Status::loading; }));
    ASSERT_EQ(library.status(), FontLibrary::Status::ready);
    ASSERT_EQ(library.items().size(), 1);
    EXPECT_FALSE(QFile::exists(m_folder + "/fonts.json"));

    const auto preview = awaitResult(library.preview("f"));
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->size(), cv::Size(200, 40));
    EXPECT_FALSE(QFile::exists(m_folder + "/previews/f.png"));
    EXPECT_EQ(awaitResult(library.preview("absent")), std::nullopt);

    // A document names the font later, so it goes into the fonts folder.
    EXPECT_EQ(awaitResult(library.download(library.items()[0])), std::optional<QString>(regular.postScriptName));
    EXPECT_EQ(readFile(m_folder + "/f/F.otf"), readFile(served("zephrin/fonts/f/F.otf")));
}

TEST_F(FontLibraryTest, GivesNoNameWithoutARegularFace)
{
    auto library = makeLibrary();
    QSignalSpy downloading(library.get(), &FontLibrary::downloadingChanged);
    EXPECT_EQ(awaitResult(library->download({"b", "B", "Serif", {{"bold", "b.otf"}}})), std::nullopt);
    EXPECT_EQ(awaitResult(library->download({"e", "E", "Serif", {}})), std::nullopt);
    EXPECT_EQ(downloading.count(), 0);
    EXPECT_EQ(server().totalRequests(), 0);
}

TEST_F(FontLibraryTest, FetchesADamagedRegularFaceOnceMore)
{
    const RenamedFont good = serveFont("d/Damaged.otf");
    writeFile(m_folder + "/d/Damaged.otf", "not a font at all");
    writeFile(m_folder + "/d/Bold.otf", "not a font either");
    serveFont("d/Bold.otf");
    auto library = makeLibrary();
    const FontItem item{"d", "D", "Serif", {{"regular", "d/Damaged.otf"}, {"bold", "d/Bold.otf"}}};
    EXPECT_EQ(awaitResult(library->download(item)), std::optional<QString>(good.postScriptName));
    EXPECT_EQ(server().requests("/zephrin/fonts/d/Damaged.otf"), 1);
    // Only the regular face is checked: a damaged bold face on disk stays as it is.
    EXPECT_EQ(server().requests("/zephrin/fonts/d/Bold.otf"), 0);
    EXPECT_EQ(readFile(m_folder + "/d/Damaged.otf"), readFile(served("zephrin/fonts/d/Damaged.otf")));
}

TEST_F(FontLibraryTest, ReportsADamagedRegularFaceItCannotReplace)
{
    writeFile(m_folder + "/d/Damaged.otf", "not a font at all");
    server().respond("/zephrin/fonts/d/Damaged.otf", 200, "still not a font");
    auto library = makeLibrary();
    const FontItem item{"d", "D", "Serif", {{"regular", "d/Damaged.otf"}}};
    EXPECT_EQ(awaitResult(library->download(item)), std::nullopt);
    EXPECT_EQ(server().requests("/zephrin/fonts/d/Damaged.otf"), 1);
    // A second download tries once more, never in a loop.
    EXPECT_EQ(awaitResult(library->download(item)), std::nullopt);
    EXPECT_EQ(server().requests("/zephrin/fonts/d/Damaged.otf"), 2);
}

TEST_F(FontLibraryTest, SkipsAFaceTheServerDoesNotDeliver)
{
    const RenamedFont regular = serveFont("r/Regular.otf");
    auto library = makeLibrary();
    const FontItem item{"r", "R", "Serif", {{"regular", "r/Regular.otf"}, {"italic", "r/Missing.otf"}}};
    EXPECT_EQ(awaitResult(library->download(item)), std::optional<QString>(regular.postScriptName));
    EXPECT_FALSE(QFile::exists(m_folder + "/r/Missing.otf"));
}

TEST_F(FontLibraryTest, MovesARecentToTheFrontAndKeepsTwentyFour)
{
    auto library = makeLibrary();
    for (int i = 0; i < 10; ++i)
        library->noteRecent(QString::number(i));
    ASSERT_EQ(library->recents()[5], "4");
    library->noteRecent("4");
    EXPECT_EQ(library->recents().size(), 10);
    EXPECT_EQ(library->recents().front(), "4");
    EXPECT_EQ(library->recents().count("4"), 1);

    for (int i = 10; i < 24; ++i)
        library->noteRecent(QString::number(i));
    ASSERT_EQ(library->recents().size(), 24);
    const QString oldest = library->recents().back();
    library->noteRecent("new");
    EXPECT_EQ(library->recents().size(), 24);
    EXPECT_FALSE(library->recents().contains(oldest));

    const QStringList recents = library->recents();
    library.reset();
    EXPECT_EQ(makeLibrary()->recents(), recents);
}

TEST_F(FontLibraryTest, TogglesAFavouriteAndDownloadsItWhenAdded)
{
    serveFont("fav/Fav.otf");
    const FontItem item{"fav", "Fav", "Serif", {{"regular", "fav/Fav.otf"}}};
    auto library = makeLibrary();
    library->toggleFavorite(item);
    EXPECT_EQ(library->favorites(), QSet<QString>{"fav"});
    EXPECT_EQ(makeLibrary()->favorites(), QSet<QString>{"fav"});  // a one-element list survives the settings file
    library->toggleFavorite(item);
    EXPECT_TRUE(library->favorites().isEmpty());
    EXPECT_TRUE(makeLibrary()->favorites().isEmpty());
    EXPECT_TRUE(waitUntil([&] { return QFile::exists(m_folder + "/fav/Fav.otf"); }));
    EXPECT_EQ(server().requests("/zephrin/fonts/fav/Fav.otf"), 1);
}

TEST_F(FontLibraryTest, LoadsAPreviewOnceAndKeepsIt)
{
    writeFile(served("zephrin/fonts/previews/sans.png"), pictureBytes({200, 40}, Qt::black, "PNG"));
    auto library = makeLibrary();
    const auto preview = awaitResult(library->preview("sans"));
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->size(), cv::Size(200, 40));
    EXPECT_TRUE(QFile::exists(m_folder + "/previews/sans.png"));
    EXPECT_TRUE(awaitResult(library->preview("sans")));
    EXPECT_EQ(server().requests("/zephrin/fonts/previews/sans.png"), 1);
}

TEST_F(FontLibraryTest, TrustsAPreviewOnDiskEvenWhenItDoesNotDecode)
{
    writeFile(m_folder + "/previews/broken.png", "no png here");
    writeFile(served("zephrin/fonts/previews/broken.png"), pictureBytes({20, 20}, Qt::black, "PNG"));
    auto library = makeLibrary();
    EXPECT_EQ(awaitResult(library->preview("broken")), std::nullopt);
    EXPECT_EQ(server().totalRequests(), 0);
}

} // namespace
} // namespace zephrin
