// The generated grid: categories and their tiles, the custom gradient's
// labels, and thumbnails rendered once however many tiles ask.

#include "EditorFixture.h"
#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/support/Waiting.h"
#include "pickers/backdrops/GeneratedGridState.h"
#include "pickers/backdrops/ThumbnailProviders.h"

namespace zephrin {
namespace {

using namespace zephrin::testing;

using GeneratedGrid = EditorTest;

TEST_F(GeneratedGrid, EachCategoryShowsItsPresetsAndGradientTheEditor)
{
    GeneratedGridState grid;
    EXPECT_EQ(grid.category(), "Studio");
    EXPECT_EQ(grid.categories(), QStringList({"Studio", "Table", "Gradient", "Bokeh", "Texture"}));
    const std::map<QString, int> counts{{"Studio", 6}, {"Table", 4}, {"Gradient", 6}, {"Bokeh", 4}, {"Texture", 6}};
    for (const auto& [category, count] : counts) {
        grid.setCategory(category);
        EXPECT_EQ(grid.tiles()->count(), count) << category.toStdString();
        EXPECT_EQ(grid.showsCustomEditor(), category == "Gradient");
    }
    grid.setCategory("Texture");
    EXPECT_EQ(grid.tiles()->tiles().back().name, "Black Marble");
    grid.setCategory("Nonsense");
    EXPECT_EQ(grid.category(), "Texture");
}

TEST_F(GeneratedGrid, ColourLabelsFollowTheEditorsShape)
{
    GeneratedGridState grid;
    EXPECT_EQ(grid.colorLabels(), QStringList({"Top", "Bottom"}));
    grid.setEditorObject(editor.get());
    QSignalSpy relabelled(&grid, &GeneratedGridState::colorLabelsChanged);
    const RGBAColor a = editor->customBackdropA();
    editor->setCustomBackdropShape(CustomBackdropShape::spotlight);
    EXPECT_EQ(relabelled.count(), 1);
    EXPECT_EQ(grid.colorLabels(), QStringList({"Center", "Edge"}));
    EXPECT_EQ(editor->customBackdropA(), a);
}

TEST_F(GeneratedGrid, APresetIsRingedWhileItsPictureIsTheBackground)
{
    GeneratedGridState grid;
    grid.setEditorObject(editor.get());
    openDocument();
    editor->selectBackdrop(QStringLiteral("studio-white"));
    EXPECT_TRUE(grid.selectedID().isEmpty());
    runner->settle();
    EXPECT_EQ(grid.selectedID(), "studio-white");
    editor->selectBackdrop(QStringLiteral("custom"));
    runner->settle();
    EXPECT_EQ(grid.selectedID(), "custom");  // no tile has this id
}

TEST_F(GeneratedGrid, ThumbnailsRenderOncePerPresetHoweverManyAsk)
{
    BackdropThumbnails thumbnails;
    const QString id = Backdrop::presets().front().id;
    QList<QFuture<QImage>> asked;
    for (int i = 0; i < 5; ++i)
        asked << thumbnails.thumbnail(id);
    for (QFuture<QImage>& future : asked) {
        const QImage image = awaitResult(future);
        EXPECT_EQ(image.size(), QSize(168, 120));
    }
    EXPECT_EQ(thumbnails.renders(id), 1);
    EXPECT_TRUE(awaitResult(thumbnails.thumbnail("no-such-backdrop")).isNull());
    EXPECT_EQ(thumbnails.renders("no-such-backdrop"), 0);
}

TEST_F(GeneratedGrid, APresetGoesIntoMyBackgroundsUnderItsName)
{
    qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
    MyBackgroundsStore store(dir.filePath("mine"), nullptr, std::chrono::milliseconds(60000));
    GeneratedGridState grid;
    grid.setStoreObject(&store);
    grid.addToMyBackgrounds("no-such-backdrop");
    grid.addToMyBackgrounds("studio-white");
    ASSERT_TRUE(waitUntil([&] { return !store.notice().isEmpty(); }));
    EXPECT_EQ(store.notice(), "Added to My Backgrounds");
    ASSERT_EQ(store.items().size(), 1);
    EXPECT_EQ(store.items()[0].name, "White");
    EXPECT_EQ(store.items()[0].source, "saved");
}

} // namespace
} // namespace zephrin
