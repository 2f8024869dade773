// What the cutout and hand refine panels rely on in the editor: the subject
// finders this build offers, refine settings chosen before there is a matte,
// and colour readings that overlap.

#include "EditorFixture.h"

namespace zephrin::testing {

using CutoutPanelModel = EditorTest;

TEST_F(CutoutPanelModel, OffersIsNetOnlyWhenItsModelIsThere)
{
    EXPECT_EQ(editor->availableMatteModels(), std::vector<MatteModel>{MatteModel::apple});
    EXPECT_EQ(editor->property("availableMatteModels").toStringList(), QStringList{QStringLiteral("Subject Lift")});
    engines->isnetPresent = true;
    makeEditor();
    EXPECT_EQ(editor->property("availableMatteModels").toStringList(),
              (QStringList{QStringLiteral("Subject Lift"), QStringLiteral("IS-Net")}));
}

TEST_F(CutoutPanelModel, RefineSettingsWithoutAMatteAreKeptForTheNextCutout)
{
    // Nothing open: the choices are stored, nothing runs, nothing is undoable.
    editor->setFillHoles(true);
    editor->setEdgeMode(EdgeRefineMode::contrast);
    editor->setFeather(3);
    editor->setDecontaminateEnabled(false);
    editor->commitHistory();  // the feather slider lets go
    EXPECT_EQ(editor->undoCount(), 0);
    EXPECT_FALSE(editor->isProcessing());
    EXPECT_EQ(runner->pendingTimers() + runner->pendingJobs(), 0u);

    // A picture without a cutout yet: nothing renders, yet every change is a
    // step of its own, so undo takes back exactly the last one.
    settings().setValue(QStringLiteral("autoSubjectOnImport"), false);
    openDocument();
    ASSERT_FALSE(editor->matte());
    editor->setEdgeMode(EdgeRefineMode::detail);
    editor->setFeather(4);
    editor->setFeather(5);
    editor->commitHistory();  // the slider lets go
    EXPECT_EQ(editor->undoCount(), 2);
    editor->commitHistory();  // a release without a move adds nothing
    EXPECT_EQ(editor->undoCount(), 2);
    EXPECT_EQ(runner->pendingTimers() + runner->pendingJobs(), 0u);
    EXPECT_EQ(engines->calls("refine"), 0);
    editor->undo();
    EXPECT_EQ(editor->feather(), 3);
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::detail);
    editor->redo();
    EXPECT_EQ(editor->feather(), 5);

    // The cutout refines with what was chosen; from then on a switch is a step.
    editor->runAutoSubject();
    runner->settle();
    ASSERT_TRUE(editor->cutout());
    EXPECT_EQ(engines->calls("refine"), 1);
    EXPECT_TRUE(editor->fillHoles());
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::detail);
    EXPECT_EQ(editor->feather(), 5);
    editor->setFillHoles(false);
    EXPECT_EQ(editor->undoCount(), 3);
    runner->settle();
    EXPECT_EQ(engines->calls("refine"), 2);
}

TEST_F(CutoutPanelModel, OnlyTheNewestColourReadingLands)
{
    openDocument();
    editor->loadSelectionPalette();                               // the whole picture
    editor->finishSelection(EditorState::Points{{40, 30}, {70, 50}});  // inside the red block
    editor->loadSelectionPalette();
    ASSERT_EQ(runner->pendingJobs(), 2u);

    // The first reading finishes while the second is still under way.
    runner->runJob(0);
    EXPECT_TRUE(editor->selectionPalette().isEmpty());
    EXPECT_TRUE(editor->isLoadingPalette());

    runner->runJob(0);
    ASSERT_EQ(editor->selectionPalette().size(), 1);
    EXPECT_GT(editor->selectionPalette()[0].color.r, 0.9);
    EXPECT_LT(editor->selectionPalette()[0].color.g, 0.1);
    EXPECT_FALSE(editor->isLoadingPalette());

    // Answered out of order: the older reading still never lands.
    editor->setPendingSelection(std::nullopt);
    editor->loadSelectionPalette();
    editor->finishSelection(EditorState::Points{{40, 30}, {70, 50}});
    editor->loadSelectionPalette();
    runner->runWork(1);
    runner->runWork(0);
    runner->deliver();
    ASSERT_EQ(editor->selectionPalette().size(), 1);
    EXPECT_FALSE(editor->isLoadingPalette());
}

} // namespace zephrin::testing
