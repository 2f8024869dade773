// The My Backgrounds grid over a store in a private folder: selection mode,
// the selection kept to existing items, the editor's current backdrop, and
// showing files in the file manager.

#include "EditorFixture.h"
#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/support/Waiting.h"
#include "pickers/backdrops/MyBackgroundsGridState.h"
#include "support/GuiApplication.h"
#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace zephrin {
namespace {

using namespace zephrin::testing;

class MyBackgroundsGrid : public EditorTest {
protected:
    MyBackgroundsGrid()
    {
        QDir().mkpath(dir.filePath("data"));  // where the Trash lives
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

    // The tile's own "Move to Trash" on a checked item: no question.
    grid.moveToTrash(a);
    EXPECT_FALSE(grid.asking());
    EXPECT_EQ(grid.selection(), QStringList{b});
    EXPECT_EQ(grid.selectedLine(), "1 selected");

    grid.askToDeleteSelection();
    ASSERT_TRUE(grid.asking());
    grid.confirmDelete();
    EXPECT_FALSE(grid.asking());
    EXPECT_TRUE(grid.selection().isEmpty());
    ASSERT_TRUE(waitUntil([&] { return store->items().size() == 1; }));
    EXPECT_TRUE(grid.selecting());

    grid.tap(c);
    grid.askToDeleteAll();
    grid.confirmDelete();
    EXPECT_TRUE(grid.selection().isEmpty());
    EXPECT_TRUE(grid.libraryEmpty());
    EXPECT_TRUE(grid.selecting());  // "Move All to Trash" leaves the mode as it was
}

// Checked items that the filter hides are named in the question, and only a
// confirmed question deletes.
TEST_F(MyBackgroundsGrid, ADeleteSaysHowManyGoHiddenOnesIncluded)
{
    const QString a = add("A", "saved");
    const QString b = add("B", "imported");
    const QString c = add("C", "imported");
    grid.setSelecting(true);
    for (const QString& id : {a, b, c})
        grid.tap(id);
    grid.setFilter("Saved");
    grid.askToDeleteSelection();
    EXPECT_EQ(grid.questionTitle(), "Move 3 backgrounds to the Trash?");
    EXPECT_EQ(grid.questionMessage(), "2 of them are hidden by the current filter.");
    EXPECT_EQ(grid.questionAccept(), "Move to Trash");
    grid.cancelDelete();
    EXPECT_FALSE(grid.asking());
    EXPECT_EQ(grid.selection().size(), 3);
    EXPECT_EQ(store->items().size(), 3);

    grid.setFilter("All");
    grid.askToDeleteSelection();
    EXPECT_TRUE(grid.questionMessage().isEmpty());
}

// Without a Trash nothing is deleted for good unasked, and the question says so.
TEST_F(MyBackgroundsGrid, WithoutATrashEveryDeleteAsksToDeletePermanently)
{
    const QString a = add("Sea", "saved");
    const QString b = add("Desk", "saved");
    const ScopedEnvironment noTrash("XDG_DATA_HOME", qPrintable(dir.filePath("no-such-folder")));

    grid.moveToTrash(a);
    ASSERT_TRUE(grid.asking());
    EXPECT_EQ(grid.questionTitle(), "Delete “Sea” permanently?");
    EXPECT_EQ(grid.questionMessage(), "There is no Trash here, so it can't be brought back.");
    EXPECT_EQ(grid.questionAccept(), "Delete Permanently");
    EXPECT_EQ(store->items().size(), 2);
    const QString picture = QDir(store->root()).filePath("images/" + a + ".jpg");
    grid.confirmDelete();
    ASSERT_TRUE(waitUntil([&] { return !QFile::exists(picture); }));
    EXPECT_EQ(store->items().size(), 1);

    grid.askToDeleteAll();
    EXPECT_EQ(grid.questionTitle(), "Delete 1 background permanently?");
    EXPECT_EQ(grid.questionAccept(), "Delete All Permanently");
    grid.setSelecting(true);
    grid.tap(b);
    grid.setFilter("Favorites");
    grid.askToDeleteSelection();
    EXPECT_EQ(grid.questionTitle(), "Delete 1 background permanently?");
    EXPECT_EQ(grid.questionMessage(),
              "It is hidden by the current filter. There is no Trash here, so it can't be brought back.");
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
    grid.askToDeleteAll();
    EXPECT_EQ(grid.questionTitle(), "Move all 2 backgrounds to the Trash?");
    EXPECT_EQ(grid.questionAccept(), "Move All to Trash");
}

// The store repairs a damaged list when it loads, which may be long before
// anyone looks: the repair is told when a grid first shows the list.
TEST_F(MyBackgroundsGrid, TellsOfARepairedListWhenItFirstShowsIt)
{
    add("A", "saved");
    QFile library(store->root() + "/library.json");
    ASSERT_TRUE(library.open(QIODevice::WriteOnly) && library.write("[{\"id\"") > 0);
    library.close();
    MyBackgroundsStore reloaded(store->root(), nullptr, std::chrono::milliseconds(60000));
    EXPECT_TRUE(reloaded.notice().isEmpty());
    MyBackgroundsGridState shown;
    shown.setStoreObject(&reloaded);
    EXPECT_EQ(reloaded.notice(), "The list of My Backgrounds was damaged and has been repaired.");
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
    bool opens = true;
    FileReveal reveal;
    reveal.showItems = [&](const QStringList& uris, FileReveal::Done done) {
        shown << uris;
        done(answers);
    };
    reveal.openUrl = [&](const QUrl& url, FileReveal::Done done) {
        opened << url;
        done(opens);
    };
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
    EXPECT_TRUE(store->notice().isEmpty());

    // Nothing on the desktop can show the file or the folder: the editor's
    // notice names it in full, offers to copy its path and is marked as the
    // failure it is.
    opens = false;
    const QString file = images + "/" + a + ".jpg";
    grid.revealInFolder(a);
    EXPECT_EQ(editor->notice(), "No file manager is available to show " + file);
    EXPECT_EQ(editor->noticeCopyPath(), file);
    EXPECT_TRUE(editor->noticeIsFailure());
    grid.openFolder();
    EXPECT_EQ(editor->notice(), "No file manager is available to show " + images);
    EXPECT_EQ(editor->noticeCopyPath(), images);
    EXPECT_TRUE(editor->noticeIsFailure());
    EXPECT_TRUE(store->notice().isEmpty());
}

// The desktop's opener is asked for real: a folder it cannot open is reported,
// not taken as shown because the opener started.
TEST(FileRevealOpener, ReportsWhetherTheDesktopOpenerShowedTheFolder)
{
    ensureGuiApplication();
    QTemporaryDir bin;
    const auto opener = [&](const char* status) {
        QFile script(bin.filePath("xdg-open"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(QByteArray("#!/bin/sh\nexit ") + status + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    const ScopedEnvironment onlyTheOpener("PATH", qPrintable(bin.path()));
    const auto open = [] {
        std::optional<bool> result;
        FileReveal::desktopOpenUrl(QUrl::fromLocalFile("/tmp"), [&](bool shown) { result = shown; });
        EXPECT_TRUE(waitUntil([&] { return result.has_value(); }));
        return result.value_or(true);
    };
    opener("3");  // "no method available for opening"
    EXPECT_FALSE(open());
    opener("0");
    EXPECT_TRUE(open());
    QFile::remove(bin.filePath("xdg-open"));
    EXPECT_FALSE(open());  // no opener at all
}

} // namespace
} // namespace zephrin
