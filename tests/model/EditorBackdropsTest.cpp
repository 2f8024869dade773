// Backdrops: the size asked of the renderer, the newest choice winning
// (a picture of the user's own included), and what a failed pick leaves.

#include "EditorFixture.h"

#include <QFile>

namespace zephrin::testing {

using EditorBackdrops = EditorTest;

TEST_F(EditorBackdrops, AreRenderedInTheDocumentsAspectAtALongEdgeOf2400)
{
    editor->selectBackdrop(QStringLiteral("custom"));
    EXPECT_TRUE(editor->backdropID().isEmpty());  // no document: nothing at all
    EXPECT_EQ(runner->pendingJobs(), 0u);

    openDocument(QStringLiteral("wide.png"), 400, 100);
    editor->selectBackdrop(QStringLiteral("custom"));
    EXPECT_EQ(editor->backdropID(), QStringLiteral("custom"));
    EXPECT_EQ(editor->processingLabel(), QStringLiteral("Painting backdrop…"));
    runner->settle();
    EXPECT_EQ(engines->lastBackdropSize, QSize(2400, 600));
    ASSERT_TRUE(editor->backgroundImage());
    EXPECT_EQ(editor->comp().backgroundMode, BackgroundMode::image);
    EXPECT_EQ(engines->calls("composite"), 1);

    openDocument(QStringLiteral("tall.png"), 10, 10000);
    editor->selectBackdrop(QStringLiteral("custom"));
    runner->settle();
    EXPECT_EQ(engines->lastBackdropSize, QSize(64, 2400));
}

// Clicking through backdrops: history keeps the pixels of the two pictures
// nearest to the step in force; a farther generated one is rendered again, at
// its size and under its own name, when undo or redo brings it back. A photo's
// picture cannot be made again (its file may change or go) and stays.
TEST_F(EditorBackdrops, HistoryKeepsTheNearestPicturesAndRendersFartherOnesAgain)
{
    openDocument(QStringLiteral("wide.png"), 400, 100);
    editor->selectPhotoBackdrop(QStringLiteral("beach"));
    settle(engines->photoRequests.back().promise, std::optional(ScriptedEngines::solid(8, 8)));
    QCoreApplication::processEvents();
    runner->settle();
    std::vector<std::uint64_t> shown{editor->backgroundImage()->generation()};
    std::vector<QString> ids{editor->backdropID()};
    const auto& presets = Backdrop::presets();
    for (int pick = 0; pick < 6; ++pick) {
        editor->selectBackdrop(presets[std::size_t(pick)]);
        runner->settle();
        shown.push_back(editor->backgroundImage()->generation());
        ids.push_back(editor->backdropID());
    }
    const std::size_t picture = std::size_t(2400) * 600 * 4;
    EXPECT_EQ(editor->historyPictures().count, EditorState::kHistoryPictures + 1);  // and the photo
    EXPECT_EQ(editor->historyPictures().bytes, EditorState::kHistoryPictures * picture + 8 * 8 * 4);

    const int renders = engines->calls("renderBackdrop");
    const auto expectShown = [&](std::size_t step) {
        runner->settle();
        EXPECT_EQ(editor->backdropID(), ids[step]);
        ASSERT_TRUE(editor->backgroundImage()) << step;
        EXPECT_EQ(editor->backgroundImage()->generation(), shown[step]) << step;
        EXPECT_EQ(editor->composite()->generation(), editor->compositeBase()->generation());
        EXPECT_LE(editor->historyPictures().count, EditorState::kHistoryPictures + 1);
    };
    for (std::size_t step = shown.size() - 1; step-- > 0;) {
        editor->undo();
        expectShown(step);
    }
    // Two were kept, three rendered again at their size, the photo kept.
    EXPECT_EQ(engines->calls("renderBackdrop") - renders, 3);
    EXPECT_EQ(engines->lastBackdropSize, QSize(2400, 600));
    EXPECT_EQ(engines->calls("photoBackdrop"), 1);
    for (std::size_t step = 1; step < shown.size(); ++step) {
        editor->redo();
        expectShown(step);
    }
}

TEST_F(EditorBackdrops, TheNewestPhotoWins)
{
    editor->selectPhotoBackdrop(QStringLiteral("first"));
    editor->selectPhotoBackdrop(QStringLiteral("second"));
    EXPECT_EQ(editor->backdropID(), QStringLiteral("photo:second"));
    ASSERT_EQ(engines->photoRequests.size(), 2u);
    settle(engines->photoRequests[1].promise, std::optional(ScriptedEngines::solid(8, 8, {0, 255, 0, 255})));
    settle(engines->photoRequests[0].promise, std::optional(ScriptedEngines::solid(8, 8, {255, 0, 0, 255})));
    QCoreApplication::processEvents();
    ASSERT_TRUE(editor->backgroundImage());  // stored even without a document
    EXPECT_EQ(editor->backgroundImage()->image().pixels.at<cv::Vec4b>(0, 0)[1], 255);
    EXPECT_EQ(editor->backdropID(), QStringLiteral("photo:second"));
    EXPECT_FALSE(editor->isProcessing());
}

TEST_F(EditorBackdrops, AFailedPickReturnsToTheBackdropStillShown)
{
    openDocument();
    editor->selectBackdrop(QStringLiteral("custom"));
    runner->settle();
    const auto shown = editor->backgroundImage()->generation();

    editor->selectPhotoBackdrop(QStringLiteral("offline"));
    settle(engines->photoRequests.back().promise, std::optional<Image>());
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't download that photo. Check your internet connection."));
    EXPECT_EQ(editor->backdropID(), QStringLiteral("custom"));
    EXPECT_EQ(editor->backgroundImage()->generation(), shown);

    engines->failing = {"renderBackdrop"};
    editor->selectBackdrop(Backdrop::presets().front());
    runner->settle();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't create that backdrop."));
    EXPECT_EQ(editor->backdropID(), QStringLiteral("custom"));

    // A saved background shows no busy state, failing or not.
    editor->selectMyBackground(QStringLiteral("gone"));
    EXPECT_FALSE(editor->isProcessing());
    engines->backgroundRequests.back().promise->future().cancel();
    engines->backgroundRequests.back().promise->finish();
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->lastError(), QStringLiteral("Couldn't open that background."));
    EXPECT_EQ(editor->backdropID(), QStringLiteral("custom"));
}

TEST_F(EditorBackdrops, APictureOfTheUsersOwnIsOneMoreChoiceOfWhichTheNewestWins)
{
    openDocument();
    const auto importBackground = [&](const QUrl& url) {
        editor->setImportTarget(ImportTarget::background);
        editor->importImage(url);
    };

    // A photo still downloading does not land over a newer picture of one's own.
    editor->selectPhotoBackdrop(QStringLiteral("slow"));
    importBackground(writePicture(QStringLiteral("wall.png"), 60, 40));
    EXPECT_TRUE(editor->backdropID().isEmpty());
    runner->settle();
    ASSERT_TRUE(editor->backgroundImage());
    const auto wall = editor->backgroundImage()->generation();
    settle(engines->photoRequests.back().promise, std::optional(ScriptedEngines::solid(8, 8)));
    QCoreApplication::processEvents();
    runner->settle();
    EXPECT_EQ(editor->backgroundImage()->generation(), wall);
    EXPECT_TRUE(editor->backdropID().isEmpty());

    // A picture still being read does not land over a later preset.
    importBackground(writePicture(QStringLiteral("floor.png"), 60, 40));
    editor->selectBackdrop(QStringLiteral("custom"));
    runner->settle();
    EXPECT_EQ(editor->backgroundImage()->image().width(), 2400);
    EXPECT_EQ(editor->backdropID(), QStringLiteral("custom"));
    EXPECT_EQ(engines->saveRequests.size(), 1u);  // only the wall was saved

    // A picture that cannot be read returns the choice to the backdrop shown.
    QFile broken(dir.filePath(QStringLiteral("broken.png")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    importBackground(QUrl::fromLocalFile(broken.fileName()));
    runner->settle();
    EXPECT_EQ(editor->lastError(),
              QStringLiteral("Couldn't open broken.png: it isn't a picture Zephrin reads."));
    EXPECT_EQ(editor->backdropID(), QStringLiteral("custom"));
}

TEST_F(EditorBackdrops, TheSavedCopyRelabelsOnlyThePictureStillShown)
{
    editor->setImportTarget(ImportTarget::background);
    editor->importImage(writePicture(QStringLiteral("wall.png"), 60, 40));
    runner->settle();
    const auto wall = editor->backgroundImage()->generation();

    // A pick made while the picture is being saved keeps its mark; when it
    // fails, the choice returns to the saved copy, which is what is shown.
    editor->selectPhotoBackdrop(QStringLiteral("offline"));
    settle(engines->saveRequests.back().promise, std::optional<QString>(QStringLiteral("ABC")));
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->backdropID(), QStringLiteral("photo:offline"));
    settle(engines->photoRequests.back().promise, std::optional<Image>());
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->backgroundImage()->generation(), wall);
    EXPECT_EQ(editor->backdropID(), QStringLiteral("my:ABC"));

    // A save that ends after another picture took its place names nothing.
    editor->setImportTarget(ImportTarget::background);
    editor->importImage(writePicture(QStringLiteral("floor.png"), 60, 40));
    runner->settle();
    editor->selectPhotoBackdrop(QStringLiteral("sea"));
    settle(engines->photoRequests.back().promise, std::optional(ScriptedEngines::solid(8, 8)));
    QCoreApplication::processEvents();
    settle(engines->saveRequests.back().promise, std::optional<QString>(QStringLiteral("DEF")));
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->backdropID(), QStringLiteral("photo:sea"));
    editor->selectPhotoBackdrop(QStringLiteral("gone"));
    settle(engines->photoRequests.back().promise, std::optional<Image>());
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->backdropID(), QStringLiteral("photo:sea"));
}

} // namespace zephrin::testing
