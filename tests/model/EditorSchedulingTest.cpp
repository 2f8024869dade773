// Refine, composite and text draws: debounce waits, the chain from a new
// matte to the composite, the busy state on every way a job ends, and results
// that arrive after their request was replaced or their document closed.

#include "EditorFixture.h"

#include "engine/types/MatteError.h"

using namespace std::chrono_literals;

namespace zephrin::testing {

using EditorScheduling = EditorTest;

TEST_F(EditorScheduling, ABurstOfRequestsRefinesOnceAfterTheLastWait)
{
    openDocument();
    const int before = engines->calls("refine");
    editor->setFeather(1);
    runner->advance(30ms);
    editor->setFeather(2);
    runner->advance(30ms);
    editor->setFeather(3);
    runner->advance(89ms);
    runner->runAll();
    EXPECT_EQ(engines->calls("refine"), before);
    runner->advance(1ms);
    runner->runAll();
    EXPECT_EQ(engines->calls("refine"), before + 1);
}

TEST_F(EditorScheduling, DraggingFeatherRefinesOnceAndIsOneStep)
{
    openDocument();
    const int before = engines->calls("refine");
    for (int i = 1; i <= 10; ++i) {
        editor->setFeather(0.6 + i);
        runner->advance(30ms);
    }
    runner->settle();
    EXPECT_EQ(engines->calls("refine"), before + 1);
    EXPECT_EQ(editor->undoCount(), 1);
    editor->commitHistory();  // the slider lets go
    editor->setFillHoles(true);
    EXPECT_EQ(editor->undoCount(), 2);
    // Assigning the current edge mode records nothing new; the refine it
    // asks for is the one kept.
    runner->settle();
    const int refines = engines->calls("refine");
    editor->setEdgeMode(EdgeRefineMode::smooth);
    EXPECT_EQ(editor->undoCount(), 2);
    runner->settle();
    EXPECT_EQ(engines->calls("refine"), refines);
}

TEST_F(EditorScheduling, FlatSettingsRekeyOnlyWithFlatColorAndAMatte)
{
    editor->setFlatTolerance(30);
    EXPECT_EQ(runner->pendingTimers(), 0u);
    openDocument();
    editor->setFlatTolerance(35);
    EXPECT_EQ(runner->pendingTimers(), 0u);  // Auto Subject is the method

    editor->setCutoutMethod(CutoutMethod::flat);
    for (double tolerance : {40.0, 45.0, 50.0}) {
        editor->setFlatTolerance(tolerance);
        runner->advance(50ms);
    }
    runner->runAll();
    EXPECT_EQ(engines->calls("flatColorMask"), 0);
    runner->advance(70ms);
    runner->runAll();
    EXPECT_EQ(engines->calls("flatColorMask"), 1);
}

TEST_F(EditorScheduling, ANewMatteRefinesAndCompositesAtOnce)
{
    editor->importImage(writePicture(QStringLiteral("a.png")));
    QStringList labels;
    QObject::connect(editor.get(), &EditorState::processingLabelChanged, [&] { labels.append(editor->processingLabel()); });
    runner->runAll();  // no timer is needed anywhere on this road
    ASSERT_TRUE(editor->composite());
    // Default settings: the composite is the cutout itself, without a composite pass.
    EXPECT_EQ(editor->composite()->generation(), editor->cutout()->generation());
    EXPECT_EQ(engines->calls("composite"), 0);
    EXPECT_EQ(labels, (QStringList{"Finding subject…", "Rendering…"}));
    EXPECT_FALSE(editor->isProcessing());
    // The red block, give or take its feathered edge.
    EXPECT_NEAR(editor->subjectBoundsSize().width(), 60, 5);
    EXPECT_NEAR(editor->subjectBoundsSize().height(), 40, 5);
}

// The listing checks compare the subject with the composite: its measures are
// taken in the composite's frame, the crop and the outline included.
TEST_F(EditorScheduling, TheSubjectIsMeasuredAsTheCompositeShowsIt)
{
    openDocument();  // the red block spans x 30 … 90, y 20 … 60
    editor->setComp(QStringLiteral("crop"), QRectF(10, 10, 30, 20));
    runner->settle();
    ASSERT_EQ(editor->composite()->image().width(), 30);
    EXPECT_NEAR(editor->subjectBoundsSize().width(), 10, 3);
    EXPECT_NEAR(editor->subjectBoundsSize().height(), 10, 3);
    EXPECT_LT(editor->subjectWhiteFraction(), 0.05);
    // A white backdrop is no white in the design.
    editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    editor->setComp(QStringLiteral("mirror"), true);
    runner->settle();
    EXPECT_LT(editor->subjectWhiteFraction(), 0.05);
    editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Transparent"));
    editor->setComp(QStringLiteral("mirror"), false);

    editor->setComp(QStringLiteral("crop"), QVariant());
    editor->setComp(QStringLiteral("outlineEnabled"), true);
    editor->setComp(QStringLiteral("outlineWidth"), 20);
    runner->settle();
    // The white outline prints as white: it counts.
    EXPECT_GT(editor->subjectWhiteFraction(), 0.4);
    EXPECT_NEAR(editor->subjectBoundsSize().width(), 60, 5);
}

TEST_F(EditorScheduling, TextOnlyChangesRedrawTheTextOverTheSameBase)
{
    openDocument();
    editor->setComp(QStringLiteral("shadowEnabled"), true);
    runner->settle();
    const int composites = engines->calls("composite");
    const auto base = editor->compositeBase()->generation();

    editor->addTextLayer();
    EXPECT_EQ(runner->pendingTimers(), 0u);
    runner->runAll();
    EXPECT_EQ(engines->calls("composite"), composites);
    EXPECT_EQ(engines->calls("drawTextLayers"), 1);
    EXPECT_EQ(editor->compositeBase()->generation(), base);
    EXPECT_NE(editor->composite()->generation(), base);

    // The dragged layer leaves the composite while it is dragged.
    editor->setDraggingTextID(editor->comp().texts.front().id);
    runner->runAll();
    EXPECT_EQ(editor->composite()->generation(), base);
    editor->setDraggingTextID({});
    runner->runAll();
    EXPECT_NE(editor->composite()->generation(), base);

    // Any other change composites anew, after the wait.
    editor->setComp(QStringLiteral("shadowOpacity"), 60);
    runner->advance(90ms);
    runner->runAll();
    EXPECT_EQ(engines->calls("composite"), composites + 1);
}

TEST_F(EditorScheduling, BusyEndsHoweverTheJobEnds)
{
    openDocument();
    // Failure: the message shows and the previous cutout stays.
    const auto cutout = editor->cutout()->generation();
    engines->failing = {"refine"};
    editor->setFeather(2);
    editor->scheduleRender(true);
    EXPECT_TRUE(editor->isProcessing());
    runner->settle();
    EXPECT_FALSE(editor->isProcessing());
    EXPECT_EQ(editor->lastError(), QStringLiteral("The image couldn't be rendered."));
    EXPECT_EQ(editor->cutout()->generation(), cutout);
    engines->failing.clear();

    // Cancellation: clearing while the refine waits.
    editor->setFeather(3);
    EXPECT_TRUE(editor->isProcessing());
    editor->clearDocument();
    EXPECT_FALSE(editor->isProcessing());
    runner->settle();
    EXPECT_FALSE(editor->cutout());

    // Replacement: the busy entry of the replaced request goes with it.
    openDocument();
    editor->setComp(QStringLiteral("mirror"), true);
    editor->setComp(QStringLiteral("mirror"), false);
    editor->setComp(QStringLiteral("padding"), 9);
    runner->settle();
    EXPECT_FALSE(editor->isProcessing());

    // Painting a backdrop, downloading a photo, applying edits.
    editor->selectBackdrop(QStringLiteral("custom"));
    engines->failing = {"renderBackdrop"};
    runner->settle();
    EXPECT_FALSE(editor->isProcessing());
    editor->selectPhotoBackdrop(QStringLiteral("beach"));
    EXPECT_EQ(editor->processingLabel(), QStringLiteral("Downloading photo…"));
    engines->photoRequests.back().promise->finish();  // cancelled: no picture
    QCoreApplication::processEvents();
    EXPECT_FALSE(editor->isProcessing());
    editor->appendMaskOp(MaskStroke{true, BrushTip::round, 10, 1, {{5, 5}}});
    EXPECT_EQ(editor->processingLabel(), QStringLiteral("Applying edits…"));
    editor->clearDocument();
    EXPECT_FALSE(editor->isProcessing());
}

// ---- Results of an old request or an old document never land ----------------

TEST_F(EditorScheduling, ASlowRefineOfThePreviousDocumentChangesNothing)
{
    openDocument(QStringLiteral("first.png"));
    editor->setFeather(4);
    runner->advance(90ms);
    ASSERT_EQ(runner->pendingJobs(), 1u);
    runner->runWork(0);  // the refine has run; its result is still on its way

    editor->importImage(writePicture(QStringLiteral("second.png"), 90, 60));
    runner->runJob(0);   // the new document opens
    ASSERT_EQ(editor->document()->width(), 90);
    runner->deliver();
    EXPECT_FALSE(editor->cutout());
    runner->settle();
    ASSERT_TRUE(editor->cutout());
    EXPECT_EQ(editor->cutout()->image().width(), 90);
}

// The fill suggestion speaks for the matte on screen only: a new cutout run
// takes it away at once, a scene fallback brings none, and a probe that finds
// no holes shows none, whatever an earlier probe found.
TEST_F(EditorScheduling, TheFillSuggestionBelongsToTheMatteItProbed)
{
    engines->holes = true;
    openDocument();
    ASSERT_TRUE(editor->suggestFillHoles());

    editor->runAutoSubject();
    EXPECT_FALSE(editor->suggestFillHoles()) << "cleared as the new cutout starts";
    engines->holes = false;
    runner->settle();
    EXPECT_FALSE(editor->suggestFillHoles()) << "this matte has no holes";

    engines->holes = true;
    editor->runAutoSubject();
    runner->settle();
    ASSERT_TRUE(editor->suggestFillHoles());
    engines->sceneFallback = true;
    editor->runAutoSubject();
    runner->settle();
    EXPECT_FALSE(editor->cutoutNote().isEmpty());
    EXPECT_FALSE(editor->suggestFillHoles()) << "no probe after a scene fallback";

    // The selection cut clears it too.
    engines->sceneFallback = false;
    editor->runAutoSubject();
    runner->settle();
    ASSERT_TRUE(editor->suggestFillHoles());
    editor->setPendingSelection(std::vector<QPointF>{{10, 10}, {60, 50}});
    engines->holes = false;
    editor->cutSelection();
    EXPECT_FALSE(editor->suggestFillHoles());
    runner->settle();
    EXPECT_FALSE(editor->suggestFillHoles());
}

TEST_F(EditorScheduling, OnlyTheNewestCutoutRunLands)
{
    editor->importImage(writePicture(QStringLiteral("a.png")));
    runner->runJob(0);           // open; Auto Subject waits
    engines->subject = QRect(0, 0, 10, 10);
    editor->runAutoSubject();   // the newer run
    ASSERT_EQ(runner->pendingJobs(), 2u);
    runner->runWork(1);          // the newer run finishes first
    runner->deliver();
    engines->subject = QRect(0, 0, 100, 70);
    runner->runJob(0);           // the older run finishes late
    runner->settle();
    EXPECT_NEAR(editor->subjectBoundsSize().width(), 10, 5);
}

TEST_F(EditorScheduling, AColorKeyRenderedBeforeAnUndoIsDropped)
{
    openDocument();
    editor->togglePickedColor(RGBAColor{1, 0, 0, 1});
    editor->removePickedColors(false);
    ASSERT_EQ(editor->activeOpCount(), 1);
    runner->runWork(0);          // the colour key's layers are rendered…
    editor->undo();              // …but the user undid it meanwhile
    runner->deliver();
    EXPECT_FALSE(editor->editLayers());
    runner->settle();
    EXPECT_FALSE(editor->editLayers());
    EXPECT_EQ(editor->activeOpCount(), 0);
}

TEST_F(EditorScheduling, NoBackdropComesBackAfterClear)
{
    openDocument();
    editor->selectBackdrop(QStringLiteral("custom"));
    editor->clearDocument();
    runner->settle();
    EXPECT_FALSE(editor->backgroundImage());
    EXPECT_EQ(editor->comp().backgroundMode, BackgroundMode::transparent);
}

TEST_F(EditorScheduling, ImportAndClearForgetTheSelections)
{
    openDocument();
    editor->addTextLayer();
    editor->finishSelection(EditorState::Points{{10, 10}, {50, 40}});
    editor->clearPendingSelection();
    editor->finishSelection(EditorState::Points{{20, 10}, {50, 40}});
    ASSERT_TRUE(editor->lastSelection());
    openDocument(QStringLiteral("next.png"));
    EXPECT_FALSE(editor->pendingSelection());
    EXPECT_FALSE(editor->lastSelection());
    EXPECT_TRUE(editor->selectedTextID().isNull());

    editor->setSelectedTextID(editor->comp().texts.front().id);
    editor->finishSelection(EditorState::Points{{10, 10}, {50, 40}});
    editor->clearPendingSelection();
    editor->clearDocument();
    EXPECT_FALSE(editor->lastSelection());
    EXPECT_TRUE(editor->selectedTextID().isNull());
}

} // namespace zephrin::testing
