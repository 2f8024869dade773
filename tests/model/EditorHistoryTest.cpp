// Mask and paint edits with their history: appending behind undone edits,
// what undo renders again, the two clears, the composite's steps (settings,
// layers, backdrop; slider drags and typing merged) and the "Line art" preset.

#include "EditorFixture.h"

#include "engine/shapes/ShapeKit.h"

using namespace std::chrono_literals;

namespace zephrin::testing {

namespace {

MaskEditOp eraseAt(double x)
{
    return MaskStroke{true, BrushTip::round, 8, 1, {{x, 10}}};
}

PaintOp strokeAt(double x)
{
    return PaintStroke{{1, 0, 0, 1}, PaintBlend::solid, 1, BrushTip::round, 8, 1, {{x, 10}}, std::nullopt, {}};
}

} // namespace

class EditorHistory : public EditorTest {
protected:
    EditorHistory() { openDocument(); }

    // Every history count stays within the list it runs along: below a step
    // that began a mask list of its own, the list that step carries.
    void expectConsistentCounts()
    {
        std::size_t maskOps = editor->maskOps().size();
        const auto within = [&](const EditSnapshot& s) {
            return s.opCount <= int(maskOps) && s.paintOpCount <= int(editor->paintOps().size());
        };
        EXPECT_TRUE(within(editor->lastCommitted()));
        const QList<EditSnapshot>& undo = editor->undoStack();
        for (auto s = undo.rbegin(); s != undo.rend(); ++s) {
            if (s->extras.cutout)
                maskOps = s->extras.cutout->maskOps.size();
            EXPECT_TRUE(within(*s));
        }
        EXPECT_LE(editor->activeOpCount(), int(editor->maskOps().size()));
    }

    // The preset's colour key is the one mask edit, and it is in force.
    void expectTheColourKeyAlone()
    {
        ASSERT_EQ(editor->maskOps().size(), 1u);
        EXPECT_TRUE(std::holds_alternative<MaskColorKey>(editor->maskOps()[0]));
        EXPECT_EQ(editor->activeOpCount(), 1);
    }
};

TEST_F(EditorHistory, AppendingAfterUndosDropsTheUndoneEdits)
{
    for (double x : {1.0, 2.0, 3.0})
        editor->appendMaskOp(eraseAt(x));
    editor->undo();
    editor->undo();
    EXPECT_EQ(editor->activeOpCount(), 1);
    EXPECT_EQ(editor->maskOps().size(), 3u);
    EXPECT_EQ(editor->redoCount(), 2);
    editor->appendMaskOp(eraseAt(9));
    EXPECT_EQ(editor->maskOps().size(), 2u);
    EXPECT_EQ(editor->maskOps()[1], eraseAt(9));
    EXPECT_EQ(editor->redoCount(), 0);
    EXPECT_EQ(editor->undoCount(), 2);
    runner->settle();
    EXPECT_TRUE(editor->editLayers());
}

TEST_F(EditorHistory, CommittingTwiceWithoutAChangeAddsOneStep)
{
    editor->setFillHoles(true);
    editor->commitHistory();
    editor->commitHistory();
    EXPECT_EQ(editor->undoCount(), 1);
}

TEST_F(EditorHistory, UndoOfASettingRefinesAtOnceWithoutRenderingLayers)
{
    editor->setEdgeMode(EdgeRefineMode::detail);
    runner->settle();
    const int refines = engines->calls("refine");
    editor->setFillHoles(true);  // never rendered: no result kept for it
    editor->undo();
    runner->settle();
    editor->redo();
    EXPECT_TRUE(editor->fillHoles());
    EXPECT_EQ(runner->pendingTimers(), 0u);
    runner->runAll();
    EXPECT_EQ(engines->calls("refine"), refines + 1);
    EXPECT_EQ(engines->calls("maskEditLayers"), 0);
    EXPECT_EQ(engines->calls("paintLayers"), 0);
    editor->undo();
    editor->undo();
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::smooth);
    editor->redo();
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::detail);
    EXPECT_EQ(editor->undoCount(), 1);
}

// Undo of a step that changed the mask, the paint and the settings renders all three.
TEST_F(EditorHistory, UndoRendersEverythingTheStepChanged)
{
    editor->appendMaskOp(eraseAt(1));
    editor->appendPaintOp(strokeAt(1));
    runner->settle();
    const auto cutout = editor->cutout()->generation();
    // One step that changes both counts and a setting.
    editor->setSuppressHistory(true);
    editor->setFillHoles(true);
    editor->setSuppressHistory(false);
    editor->clearEdits();
    editor->clearPaint();
    runner->settle();
    ASSERT_FALSE(editor->paintLayers());

    editor->undo();  // back to: fill holes on, one mask edit, no paint
    editor->undo();  // back to: fill holes off, one mask edit, one paint stroke
    runner->settle();
    EXPECT_FALSE(editor->fillHoles());
    EXPECT_EQ(editor->activeOpCount(), 1);
    EXPECT_EQ(editor->activePaintOpCount(), 1);
    EXPECT_TRUE(editor->editLayers());
    EXPECT_TRUE(editor->paintLayers());
    EXPECT_EQ(editor->cutout()->generation(), cutout);  // kept from before the clears
}

TEST_F(EditorHistory, ClearsCanBeUndoneUntilTheNextEdit)
{
    editor->appendPaintOp(strokeAt(1));
    editor->appendPaintOp(strokeAt(2));
    editor->clearPaint();
    EXPECT_EQ(editor->activePaintOpCount(), 0);
    editor->undo();
    EXPECT_EQ(editor->activePaintOpCount(), 2);
    runner->settle();
    EXPECT_TRUE(editor->paintLayers());

    editor->appendMaskOp(eraseAt(1));
    editor->clearEdits();
    editor->appendMaskOp(eraseAt(5));  // cuts the cleared edit
    EXPECT_EQ(editor->maskOps().size(), 1u);
    expectConsistentCounts();
    while (editor->undoCount() > 0)
        editor->undo();
    expectConsistentCounts();
    EXPECT_EQ(editor->activeOpCount(), 0);
    EXPECT_EQ(editor->activePaintOpCount(), 0);
}

TEST_F(EditorHistory, StrokesNeedPointsAndTheirTool)
{
    editor->setLiveStroke({{1, 1}});
    editor->setCanvasTool(CanvasTool::erase);
    editor->commitPaintStroke(EditorState::Points{{1, 1}, {2, 2}});
    editor->commitMaskStroke(EditorState::Points{});
    EXPECT_TRUE(editor->liveStroke().empty());
    EXPECT_TRUE(editor->paintOps().empty());
    EXPECT_TRUE(editor->maskOps().empty());

    editor->setPaintOpacity(40);
    editor->setCanvasTool(CanvasTool::paint);
    editor->finishSelection(EditorState::Points{{0, 0}, {30, 30}});
    editor->commitPaintStroke(EditorState::Points{{1, 1}, {2, 2}});
    ASSERT_EQ(editor->paintOps().size(), 1u);
    const auto& stroke = std::get<PaintStroke>(editor->paintOps()[0]);
    EXPECT_EQ(stroke.opacity, 0.4);
    EXPECT_EQ(stroke.shape, SelectionKind::rectangle);
    EXPECT_TRUE(editor->pendingSelection());  // the clip stays pending

    editor->setCanvasTool(CanvasTool::restore);
    editor->commitMaskStroke(EditorState::Points{{1, 1}});
    EXPECT_FALSE(std::get<MaskStroke>(editor->maskOps()[0]).erase);
}

// Between the release and the new composite, the layers are rendered, the
// cutout refined and the composite (then its text) drawn: the stroke stays on
// screen until the last of them lands, however the chain ends.
TEST_F(EditorHistory, AStrokeStaysDrawnUntilItsResultIsShown)
{
    const EditorState::Points stroke{{10, 10}, {30, 10}};
    const auto commit = [&](CanvasTool tool) {
        editor->setCanvasTool(tool);
        editor->setLiveStroke(stroke);
        if (tool == CanvasTool::paint)
            editor->commitPaintStroke(stroke);
        else
            editor->commitMaskStroke(stroke);
    };

    // With a text layer, the text draw is the last step; it shows no busy state.
    editor->addTextLayer();
    runner->settle();
    commit(CanvasTool::erase);
    const int draws = engines->calls("drawTextLayers");
    int steps = 0;
    while (engines->calls("drawTextLayers") == draws) {
        EXPECT_EQ(editor->liveStroke(), stroke) << "after step " << steps;
        // One job at a time (with what it hands back), or the wait before the next.
        if (!runner->runJob())
            runner->advance(std::chrono::milliseconds(100));
        ASSERT_LT(++steps, 20);
    }
    EXPECT_FALSE(editor->isProcessing());
    EXPECT_TRUE(editor->liveStroke().empty());

    // A paint stroke waits for its composite too.
    commit(CanvasTool::paint);
    EXPECT_EQ(editor->liveStroke(), stroke);
    runner->settle();
    EXPECT_TRUE(editor->liveStroke().empty());

    // A failure ends the wait.
    engines->failing.insert("refine");
    commit(CanvasTool::restore);
    runner->settle();
    EXPECT_FALSE(editor->lastError().isEmpty());
    EXPECT_TRUE(editor->liveStroke().empty());
    engines->failing.clear();

    // A stroke begun meanwhile is the user's: it stays.
    commit(CanvasTool::erase);
    editor->setLiveStroke({{50, 50}});
    runner->settle();
    EXPECT_EQ(editor->liveStroke(), (EditorState::Points{{50, 50}}));

    // Another tool drops the settling stroke at once.
    commit(CanvasTool::erase);
    editor->setCanvasTool(CanvasTool::restore);
    EXPECT_TRUE(editor->liveStroke().empty());
    runner->settle();
}

// The preset is one step: its settings, a new flat matte and a new mask list
// led by the colour key. Undo gives back the strokes in force, the method,
// the flat settings, the colour tolerance and the matte from before; redo
// applies the preset again, without keying again.
TEST_F(EditorHistory, LineArtIsOneStepThatUndoesCleanly)
{
    editor->appendMaskOp(eraseAt(1));
    editor->appendMaskOp(eraseAt(2));
    editor->setFlatCloseGaps(3);
    editor->setColorTolerance(30);
    runner->settle();
    const std::vector<MaskEditOp> strokes = editor->maskOps();
    const uchar* subjectMatte = editor->matte()->image().pixels.data;
    const int steps = editor->undoCount();

    editor->applyLineArtPreset();
    EXPECT_EQ(editor->cutoutMethod(), CutoutMethod::flat);
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::contrast);
    EXPECT_EQ(editor->feather(), 0);
    // The settings it changed start nothing of their own: no wait, no second keying.
    runner->runAll();
    const int refines = engines->calls("refine");
    runner->settle();
    EXPECT_EQ(engines->calls("flatColorMask"), 1);
    EXPECT_EQ(engines->calls("refine"), refines);
    EXPECT_EQ(editor->undoCount(), steps + 1);
    ASSERT_EQ(editor->maskOps().size(), 1u);
    const auto& key = std::get<MaskColorKey>(editor->maskOps()[0]);
    // A white page with a red block in the middle: the four corners are one colour.
    ASSERT_EQ(key.colors.size(), 1u);
    EXPECT_EQ(key.colors[0], (RGBAColor{1, 1, 1, 1}));
    EXPECT_EQ(key.tolerance, 40);
    EXPECT_FALSE(key.keep);
    EXPECT_EQ(editor->activeOpCount(), 1);
    const uchar* keyedMatte = editor->matte()->image().pixels.data;
    EXPECT_NE(keyedMatte, subjectMatte);
    expectConsistentCounts();

    editor->undo();
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::smooth);
    EXPECT_EQ(editor->feather(), 0.6);
    EXPECT_EQ(editor->cutoutMethod(), CutoutMethod::autoSubject);
    EXPECT_TRUE(editor->flatConnectedOnly());
    EXPECT_EQ(editor->flatCloseGaps(), 3);
    EXPECT_EQ(editor->colorTolerance(), 30);
    EXPECT_EQ(editor->matte()->image().pixels.data, subjectMatte);
    EXPECT_EQ(editor->maskOps(), strokes);
    EXPECT_EQ(editor->activeOpCount(), 2);
    expectConsistentCounts();
    runner->settle();
    EXPECT_TRUE(editor->editLayers());

    editor->redo();
    EXPECT_EQ(editor->cutoutMethod(), CutoutMethod::flat);
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::contrast);
    EXPECT_EQ(editor->colorTolerance(), 40);
    EXPECT_EQ(editor->matte()->image().pixels.data, keyedMatte);
    expectTheColourKeyAlone();
    runner->settle();
    EXPECT_EQ(engines->calls("flatColorMask"), 1);
}

TEST_F(EditorHistory, LineArtWhoseKeyingFailsStillLeavesOneStep)
{
    editor->appendMaskOp(eraseAt(1));
    runner->settle();
    engines->failing = {"flatColorMask"};
    editor->applyLineArtPreset();
    runner->settle();
    EXPECT_FALSE(editor->lastError().isEmpty());
    EXPECT_TRUE(editor->maskOps().empty());
    EXPECT_EQ(editor->activeOpCount(), 0);
    editor->undo();
    EXPECT_EQ(editor->maskOps().size(), 1u);
    EXPECT_EQ(editor->activeOpCount(), 1);
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::smooth);
}

// The preset replaces the mask list as designed; when that drops hand edits in
// force, a notice says so and that undo brings them back. An earlier preset's
// colour key is none of the user's edits.
TEST_F(EditorHistory, LineArtSaysWhenItReplacesHandEdits)
{
    const QString said = QStringLiteral("Line art replaced your hand edits — Undo brings them back");
    const auto apply = [&] {
        editor->dismissNotice();
        editor->applyLineArtPreset();
        const QString notice = editor->notice();
        runner->settle();
        return notice;
    };
    runner->settle();
    EXPECT_EQ(apply(), QString()) << "no edits";
    ASSERT_EQ(editor->activeOpCount(), 1);
    EXPECT_EQ(apply(), QString()) << "the key of the preset before";
    editor->appendMaskOp(eraseAt(1));
    runner->settle();
    EXPECT_EQ(apply(), said) << "a stroke after the preset's key";
    editor->undo();
    runner->settle();
    ASSERT_EQ(editor->activeOpCount(), 2);
    editor->undo();  // the stroke
    runner->settle();
    EXPECT_EQ(apply(), QString()) << "a stroke undone";
    editor->undo();
    editor->undo();
    runner->settle();
    editor->appendMaskOp(eraseAt(2));
    runner->settle();
    EXPECT_EQ(apply(), said) << "a stroke on the plain cutout";
}

// A deleted label, a background pick and every composite setting come back
// with undo and go again with redo; a label reshaped is one step.
TEST_F(EditorHistory, CompositeChangesAndDeletedLayersAreSteps)
{
    runner->settle();
    const int steps = editor->undoCount();
    editor->addShapeLayer(ShapeKit::kinds().front().id);
    const QUuid label = editor->comp().texts.back().id;
    editor->applyShapeToSelectedLayer(ShapeKit::kinds().back().id);
    EXPECT_EQ(editor->undoCount(), steps + 2);
    editor->setComp(QStringLiteral("shadowEnabled"), true);
    editor->selectBackdrop(Backdrop::presets().front());
    runner->settle();
    ASSERT_TRUE(editor->backgroundImage());
    EXPECT_EQ(editor->undoCount(), steps + 4);
    editor->deleteTextLayer(label);
    runner->advance(60ms);
    runner->settle();
    ASSERT_TRUE(editor->comp().texts.isEmpty());
    EXPECT_EQ(editor->undoCount(), steps + 5);

    editor->undo();
    ASSERT_EQ(editor->comp().texts.size(), 1);
    EXPECT_EQ(editor->comp().texts[0].id, label);
    runner->settle();
    editor->undo();  // the backdrop pick
    EXPECT_FALSE(editor->backgroundImage());
    EXPECT_EQ(editor->comp().backgroundMode, BackgroundMode::transparent);
    EXPECT_TRUE(editor->backdropID().isEmpty());
    runner->settle();
    editor->undo();
    EXPECT_FALSE(editor->comp().shadowEnabled);
    editor->undo();
    EXPECT_EQ(editor->comp().texts[0].shape, ShapeKit::kinds().front().id);
    runner->settle();
    EXPECT_TRUE(editor->composite());

    for (int i = 0; i < 4; ++i)
        editor->redo();
    runner->settle();
    EXPECT_TRUE(editor->comp().texts.isEmpty());
    EXPECT_TRUE(editor->comp().shadowEnabled);
    EXPECT_EQ(editor->backdropID(), Backdrop::presets().front().id);
    EXPECT_TRUE(editor->backgroundImage());
    EXPECT_EQ(editor->redoCount(), 0);
}

// The writes of one slider are one step until it lets go; typing is one step
// until something else happens; a drag back to the start leaves no step.
TEST_F(EditorHistory, SliderDragsAndTypingMergeIntoOneStep)
{
    const int steps = editor->undoCount();
    for (int width : {14, 16, 18})
        editor->setComp(QStringLiteral("outlineWidth"), width);
    editor->setAdjust(QStringLiteral("subject"), QStringLiteral("exposure"), 0.2);
    editor->setAdjust(QStringLiteral("subject"), QStringLiteral("exposure"), 0.4);
    EXPECT_EQ(editor->undoCount(), steps + 2);
    editor->commitHistory();
    editor->setAdjust(QStringLiteral("subject"), QStringLiteral("exposure"), 0.5);
    EXPECT_EQ(editor->undoCount(), steps + 3);
    editor->setAdjust(QStringLiteral("subject"), QStringLiteral("exposure"), 0.4);
    EXPECT_EQ(editor->undoCount(), steps + 2);  // back where that drag began
    editor->commitHistory();

    editor->addTextLayer();
    const QString id = editor->comp().texts.back().id.toString();
    for (const char* text : {"S", "Sa", "Sal", "Sale"})
        editor->setTextField(id, QStringLiteral("text"), QString::fromLatin1(text));
    editor->setTextField(id, QStringLiteral("bold"), true);
    EXPECT_EQ(editor->undoCount(), steps + 5);
    editor->undo();
    EXPECT_EQ(editor->comp().texts.back().text, QStringLiteral("Sale"));
    editor->undo();
    EXPECT_EQ(editor->comp().texts.back().text, TextLayer::makeDefault().text);
    editor->undo();
    editor->undo();
    EXPECT_EQ(editor->comp().subjectAdjust.exposure, 0);
    EXPECT_EQ(editor->comp().outlineWidth, 18);
}

// A matte setting changed while the first cutout still runs is a step of its
// own: undo takes back that change alone.
TEST_F(EditorHistory, ASettingChangedWhileCuttingOutIsItsOwnStep)
{
    settings().setValue(QStringLiteral("autoSubjectOnImport"), false);
    settings().sync();
    openDocument();
    ASSERT_FALSE(editor->matte());
    editor->setEdgeMode(EdgeRefineMode::detail);
    editor->runAutoSubject();
    editor->setFillHoles(true);  // the matte is still being found
    runner->settle();
    EXPECT_EQ(editor->undoCount(), 2);
    editor->undo();
    EXPECT_FALSE(editor->fillHoles());
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::detail);
}

// While history is suppressed (a snapshot being put in force, a preset setting
// several values), the matte and flat settings record no step and start no
// refine or keying; the values stay, and the next step records them with its
// own change.
TEST_F(EditorHistory, SuppressedSettingsRecordNoStepAndStartNoWork)
{
    runner->settle();
    const int steps = editor->undoCount();
    const int refines = engines->calls("refine");
    editor->setCutoutMethod(CutoutMethod::flat);
    editor->setSuppressHistory(true);
    editor->setFeather(3);
    editor->setFillHoles(true);
    editor->setFlatTolerance(50);
    editor->setSuppressHistory(false);
    EXPECT_EQ(runner->pendingTimers(), 0u);
    EXPECT_EQ(runner->pendingJobs(), 0u);
    EXPECT_EQ(editor->undoCount(), steps);
    EXPECT_EQ(engines->calls("refine"), refines);
    EXPECT_EQ(engines->calls("flatColorMask"), 0);

    editor->setFeather(4);
    EXPECT_EQ(editor->undoCount(), steps + 1);
    editor->undo();
    EXPECT_EQ(editor->feather(), 0.6);
    EXPECT_FALSE(editor->fillHoles());
}

// However the preset's keying run ends, the preset is one step: replaced by
// a newer run it still gets its colour key; undone before it ends, it gets
// none, and redo keys again.
TEST_F(EditorHistory, LineArtEndsAsOneStepWhenItsRunIsReplaced)
{
    editor->appendMaskOp(eraseAt(1));
    runner->settle();
    const int steps = editor->undoCount();
    editor->applyLineArtPreset();
    editor->setFlatTolerance(40);  // a flat slider: a new keying 120 ms later
    runner->advance(120ms);
    runner->settle();
    EXPECT_EQ(editor->undoCount(), steps + 1);
    expectTheColourKeyAlone();
    editor->undo();
    EXPECT_EQ(editor->edgeMode(), EdgeRefineMode::smooth);
    EXPECT_EQ(editor->activeOpCount(), 1);
    EXPECT_TRUE(std::holds_alternative<MaskStroke>(editor->maskOps()[0]));

    editor->applyLineArtPreset();
    editor->runAutoSubject();  // Run Cutout while it keys: replaced again
    runner->settle();
    EXPECT_TRUE(std::holds_alternative<MaskColorKey>(editor->maskOps().front()));
    EXPECT_EQ(editor->activeOpCount(), int(editor->maskOps().size()));
    editor->undo();
    expectConsistentCounts();

    const std::vector<MaskEditOp> before = editor->maskOps();
    const int keyings = engines->calls("flatColorMask");
    editor->applyLineArtPreset();
    editor->undo();  // taken back before its keying lands
    runner->settle();
    EXPECT_EQ(editor->maskOps(), before);
    EXPECT_EQ(editor->activeOpCount(), 1);
    EXPECT_EQ(editor->cutoutMethod(), CutoutMethod::autoSubject);
    EXPECT_EQ(editor->redoCount(), 1);
    editor->redo();  // the preset again: it keys again, and its key follows
    runner->settle();
    EXPECT_EQ(engines->calls("flatColorMask"), keyings + 2);
    expectTheColourKeyAlone();
    editor->undo();
    EXPECT_EQ(editor->maskOps(), before);
    expectConsistentCounts();
}

// A step of its own made and taken back while the preset keys leaves the
// preset alone: its colour key still comes, joins the preset's step and is
// in force on both sides of the other step.
TEST_F(EditorHistory, AnUnrelatedUndoWhileLineArtKeysKeepsItsColourKey)
{
    editor->appendMaskOp(eraseAt(1));
    runner->settle();
    const int steps = editor->undoCount();
    editor->applyLineArtPreset();
    editor->setComp(QStringLiteral("shadowEnabled"), true);
    editor->undo();  // the shadow only
    runner->settle();
    expectTheColourKeyAlone();
    EXPECT_EQ(editor->undoCount(), steps + 1);
    editor->redo();
    EXPECT_TRUE(editor->comp().shadowEnabled);
    EXPECT_EQ(editor->activeOpCount(), 1);
    editor->undo();
    editor->undo();  // the preset
    EXPECT_EQ(editor->cutoutMethod(), CutoutMethod::autoSubject);
    EXPECT_TRUE(std::holds_alternative<MaskStroke>(editor->maskOps()[0]));
    EXPECT_EQ(editor->activeOpCount(), 1);
    expectConsistentCounts();
}

} // namespace zephrin::testing
