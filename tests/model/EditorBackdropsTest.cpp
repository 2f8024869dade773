// Backdrops: the size asked of the renderer, the newest pick winning, and
// what a failed pick leaves.

#include "EditorFixture.h"

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

} // namespace zephrin::testing
