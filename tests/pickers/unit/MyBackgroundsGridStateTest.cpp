// The My Backgrounds grid over a store in a private folder: selection mode,
// the selection kept to existing items, the editor's current backdrop, and
// showing files in the file manager.

#include "EditorFixture.h"
#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/support/Waiting.h"
#include "pickers/backdrops/MyBackgroundsGridState.h"

#include <QDir>
#include <QImage>

namespace zephrin {
namespace {

using namespace zephrin::testing;

class MyBackgroundsGrid : public EditorTest {
protected:
    MyBackgroundsGrid()
    {
        qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
        store = std::make_unique<MyBackgroundsStore>(dir.filePath("mine"), nullptr, std::chrono::milliseconds(60000));
        grid.setStoreObject(store.get());
        grid.setEditorObject(editor.get());
    }

    QString add(const QString& name, const QString& source)
    {
        QImage picture(60, 40, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv((++count * 53) % 360, 150, 200));
        const auto id = awaitResult(store->add(imageFromQImage(picture), name, source));
        return id.value_or(QString());
    }

    std::unique_ptr<MyBackgroundsStore> store;
    MyBackgroundsGridState grid;
    int count = 0;
};

TEST_F(MyBackgroundsGrid, SelectionModeChecksTilesInsteadOfPickingThem)
{
    const QString a = add("A", "saved");
    const QString b = add("B", "imported");
    EXPECT_EQ(grid.libraryLine().left(14), "2 backgrounds ");

    grid.setSelecting(true);
    grid.tap(a);
    grid.tap(b);
    grid.tap(b);
    grid.tap("not-an-item");
    EXPECT_EQ(grid.selection(), QStringList{a});
    EXPECT_EQ(grid.selectedLine(), "1 selected");
    EXPECT_TRUE(editor->backdropID().isEmpty());  // the editor is not touched

    // A filter that hides the checked item keeps it checked.
    grid.setFilter("Imported");
    EXPECT_EQ(grid.selection(), QStringList{a});
    grid.setFilter("All");

    grid.favoriteSelection();
    ASSERT_TRUE(waitUntil([&] { return store->items().size() == 2 && store->items()[1].favorite; }));
    EXPECT_TRUE(grid.selecting());
    EXPECT_EQ(grid.selection(), QStringList{a});

    grid.finishSelecting();
    EXPECT_FALSE(grid.selecting());
    EXPECT_TRUE(grid.selection().isEmpty());

    // Outside selection mode a click picks the background.
    grid.tap(b);
    EXPECT_EQ(editor->backdropID(), "my:" + b);
}

TEST_F(MyBackgroundsGrid, DeletedItemsLeaveTheSelectionHoweverTheyGo)
{
    const QString a = add("A", "saved");
    const QString b = add("B", "saved");
    const QString c = add("C", "saved");
    grid.setSelecting(true);
    grid.tap(a);
    grid.tap(b);

    // The tile's own "Move to Trash" on a checked item.
    grid.moveToTrash(a);
    EXPECT_EQ(grid.selection(), QStringList{b});
    EXPECT_EQ(grid.selectedLine(), "1 selected");

    grid.deleteSelection();
    EXPECT_TRUE(grid.selection().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return store->items().size() == 1; }));
    EXPECT_TRUE(grid.selecting());

    grid.tap(c);
    grid.deleteAll();
    EXPECT_TRUE(grid.selection().isEmpty());
    EXPECT_TRUE(grid.libraryEmpty());
    EXPECT_TRUE(grid.selecting());  // "Move All to Trash" leaves the mode as it was
}

TEST_F(MyBackgroundsGrid, TilesFollowTheFilterAndTheLibrary)
{
    const QString a = add("A", "saved");
    add("B", "imported");
    EXPECT_EQ(grid.filters(), QStringList({"All", "Favorites", "Imported", "Saved"}));
    EXPECT_EQ(grid.tiles()->count(), 2);
    grid.setFilter("Favorites");
    EXPECT_EQ(grid.tiles()->count(), 0);
    grid.toggleFavorite(a);
    EXPECT_EQ(grid.tiles()->count(), 1);
    EXPECT_TRUE(grid.tiles()->tiles()[0].favorite);

    grid.rename(a, "  Sea  ");
    EXPECT_EQ(grid.tiles()->tiles()[0].name, "Sea");
    grid.rename(a, "   ");
    EXPECT_EQ(grid.tiles()->tiles()[0].name, "Sea");
    EXPECT_EQ(grid.deleteAllTitle(), "Move all 2 backgrounds to the Trash?");
}

TEST_F(MyBackgroundsGrid, TheCurrentBackdropIsRingedOnlyOnceItsPictureIsShown)
{
    const QString a = add("A", "saved");
    openDocument();
    QSignalSpy changes(&grid, &BackdropGridState::selectedIDChanged);
    grid.tap(a);
    EXPECT_EQ(editor->backdropID(), "my:" + a);
    EXPECT_TRUE(grid.selectedID().isEmpty());  // no background picture yet
    ASSERT_EQ(engines->backgroundRequests.size(), 1u);
    settle(engines->backgroundRequests[0].promise, std::optional(ScriptedEngines::solid(8, 8, {0, 0, 255, 255})));
    ASSERT_TRUE(waitUntil([&] { return grid.selectedID() == a; }));
    EXPECT_EQ(changes.count(), 1);
    // Another grid's pick takes the ring away.
    editor->setBackdropID("photo:lake");
    EXPECT_TRUE(grid.selectedID().isEmpty());
}

TEST_F(MyBackgroundsGrid, ShowsFilesThroughTheFileManagerOrOpensTheirFolder)
{
    const QString a = add("A", "saved");
    QStringList shown;
    QList<QUrl> opened;
    bool answers = true;
    FileReveal reveal;
    reveal.showItems = [&](const QStringList& uris, std::function<void(bool)> done) {
        shown << uris;
        done(answers);
    };
    reveal.openUrl = [&](const QUrl& url) { opened << url; };
    grid.setFileReveal(reveal);

    const QString images = QDir(store->root()).filePath("images");
    grid.revealInFolder(a);
    EXPECT_EQ(shown, QStringList{QUrl::fromLocalFile(images + "/" + a + ".jpg").toString()});
    EXPECT_TRUE(opened.isEmpty());

    answers = false;  // no file manager on the bus: its folder instead
    grid.revealInFolder(a);
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(images)});

    // Only the library's own ids name a file.
    grid.revealInFolder("../../etc/passwd");
    EXPECT_EQ(shown.size(), 2);

    opened.clear();
    grid.openFolder();
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(images)});
}

} // namespace
} // namespace zephrin
