// Selections, outlines, colour picking, crop and the pan toggle.

#include "EditorFixture.h"

namespace zephrin::testing {

class EditorSelections : public EditorTest {
protected:
    EditorSelections() { openDocument(); }
};

TEST_F(EditorSelections, AnOutlineClosesNearItsFirstPointOnceItHasThree)
{
    editor->setSelectionKind(SelectionKind::polygon);
    editor->setCanvasTool(CanvasTool::select);
    editor->addPolygonPoint({10, 10});
    editor->addPolygonPoint({40, 10});
    EXPECT_TRUE(editor->isPolygonInProgress());
    editor->addPolygonPoint({15, 12});  // near the first, but only two points placed
    EXPECT_EQ(editor->liveStroke().size(), 3u);
    editor->addPolygonPoint({40, 40});
    editor->addPolygonPoint({41, 40.5});  // within 2 px of the last: ignored
    EXPECT_EQ(editor->liveStroke().size(), 4u);
    editor->addPolygonPoint({10, 10});  // on the first point: closes
    ASSERT_TRUE(editor->pendingSelection());
    EXPECT_EQ(editor->pendingKind(), SelectionKind::polygon);
    EXPECT_TRUE(editor->liveStroke().empty());
    EXPECT_FALSE(editor->isPolygonInProgress());
}

TEST_F(EditorSelections, ASelectionWithoutAnInsideIsRefused)
{
    editor->finishSelection(EditorState::Points{{5, 5}});
    EXPECT_FALSE(editor->pendingSelection());
    editor->setSelectionKind(SelectionKind::lasso);
    // A two-point lasso encloses nothing: "Delete outside" on it would erase everything.
    editor->finishSelection(EditorState::Points{{5, 5}, {50, 50}});
    EXPECT_FALSE(editor->pendingSelection());
    editor->finishSelection(EditorState::Points{{5, 5}, {25, 25}, {50, 50}});
    EXPECT_FALSE(editor->pendingSelection());
    editor->setSelectionKind(SelectionKind::rectangle);
    editor->finishSelection(EditorState::Points{{5, 5}, {5, 50}});
    EXPECT_FALSE(editor->pendingSelection());

    editor->setSelectionKind(SelectionKind::polygon);
    editor->setLiveStroke({{10, 10}, {11, 11}, {12, 10}, {10, 12}});
    editor->closePolygon();  // every point within 3 px of the one before
    EXPECT_TRUE(editor->liveStroke().empty());
    EXPECT_FALSE(editor->pendingSelection());
    editor->eraseSelection(false);
    EXPECT_TRUE(editor->maskOps().empty());
}

// A lasso selects what it encloses, judged by the area and not by the
// rounding of its points: a stroke there and back along a line encloses
// nothing (and Delete then adds no step), a figure eight encloses its loops.
TEST_F(EditorSelections, ALassoSelectsOnlyWhereItEnclosesArea)
{
    // Points as the canvas maps them from the view, zoomed in and panned.
    const auto fromView = [](double t) { return QPointF((40 + 7 * t - 3.1) / 3.7, (30 + 3 * t + 7.3) / 3.7); };
    EditorState::Points thereAndBack;
    for (int t = 0; t <= 10; ++t)
        thereAndBack.push_back(fromView(t));
    for (int t = 9; t >= 0; --t)
        thereAndBack.push_back(fromView(t + 0.5));

    const struct {
        const char* stroke;
        EditorState::Points points;
        bool selects;
    } cases[] = {
        {"there and back along a line", thereAndBack, false},
        {"a figure eight", {{20, 20}, {60, 60}, {60, 20}, {20, 60}}, true},
        {"a sliver over a row of pixel centres", {{10, 40.2}, {70, 40.2}, {70, 40.8}, {10, 40.8}}, true},
        {"a loop", {{10, 10}, {50, 12}, {30, 40}}, true},
    };
    for (SelectionKind kind : {SelectionKind::lasso, SelectionKind::polygon})
        for (const auto& c : cases) {
            SCOPED_TRACE(c.stroke);
            editor->setPendingSelection(std::nullopt);
            editor->setSelectionKind(kind);
            editor->finishSelection(c.points);
            EXPECT_EQ(editor->pendingSelection().has_value(), c.selects);
        }

    editor->setPendingSelection(std::nullopt);
    editor->setSelectionKind(SelectionKind::lasso);
    editor->finishSelection(thereAndBack);
    const int steps = editor->undoCount();
    editor->eraseSelection(true);
    editor->eraseSelection(false);
    EXPECT_TRUE(editor->maskOps().empty());
    EXPECT_EQ(editor->undoCount(), steps);
}

TEST_F(EditorSelections, AnEditUsesThePendingSelectionUpAndItCanBeReselected)
{
    editor->finishSelection(EditorState::Points{{10, 10}, {50, 40}});
    editor->setSelectionKind(SelectionKind::ellipse);
    editor->eraseSelection(true);
    ASSERT_EQ(editor->maskOps().size(), 1u);
    EXPECT_EQ(std::get<MaskShape>(editor->maskOps()[0]).kind, SelectionKind::rectangle);
    EXPECT_FALSE(editor->pendingSelection());
    editor->reselectLastSelection();
    EXPECT_EQ(editor->pendingSelection(), (EditorState::Points{{10, 10}, {50, 40}}));
    EXPECT_EQ(editor->pendingKind(), SelectionKind::rectangle);
    // A new kind drops the stroke being drawn; the same kind keeps it.
    editor->setLiveStroke({{1, 1}});
    editor->setSelectionKind(SelectionKind::ellipse);
    EXPECT_EQ(editor->liveStroke().size(), 1u);
    editor->setSelectionKind(SelectionKind::lasso);
    EXPECT_TRUE(editor->liveStroke().empty());
}

// A canvas tool belongs to the panel whose controls offer it: changing to a
// panel without it goes back to viewing, so no hidden tool keeps painting,
// erasing or cropping.
TEST_F(EditorSelections, ACanvasToolStaysOnlyWithThePanelThatOffersIt)
{
    struct Case {
        EditorTool from;
        CanvasTool tool;
        EditorTool to;
        CanvasTool after;
    };
    const Case cases[] = {
        {EditorTool::adjust, CanvasTool::paint, EditorTool::cutout, CanvasTool::view},
        {EditorTool::adjust, CanvasTool::gradient, EditorTool::effects, CanvasTool::view},
        {EditorTool::cutout, CanvasTool::erase, EditorTool::adjust, CanvasTool::view},
        {EditorTool::cutout, CanvasTool::eyedropper, EditorTool::background, CanvasTool::view},
        {EditorTool::cutout, CanvasTool::select, EditorTool::adjust, CanvasTool::select},
        {EditorTool::adjust, CanvasTool::select, EditorTool::text, CanvasTool::view},
        {EditorTool::cutout, CanvasTool::pan, EditorTool::sheet, CanvasTool::pan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((rawValue(c.tool) + QStringLiteral(" to ") + rawValue(c.to)).toStdString());
        editor->setTool(c.from);
        editor->setCanvasTool(c.tool);
        editor->setLiveStroke({{5, 5}});
        editor->setTool(c.to);
        EXPECT_EQ(editor->canvasTool(), c.after);
        EXPECT_EQ(editor->liveStroke().empty(), c.after != c.tool);
    }

    // Leaving the resize panel while editing the crop drops the draft.
    editor->beginCropEditing();
    ASSERT_EQ(editor->canvasTool(), CanvasTool::crop);
    editor->setCropDraft(QRectF(10, 10, 40, 30));
    editor->setTool(EditorTool::cutout);
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);
    EXPECT_FALSE(editor->cropDraft());

    // The pan toggle does not bring back a tool the panel lacks.
    editor->setTool(EditorTool::adjust);
    editor->setCanvasTool(CanvasTool::paint);
    editor->togglePanTool();
    editor->setTool(EditorTool::cutout);
    EXPECT_EQ(editor->canvasTool(), CanvasTool::pan);
    editor->togglePanTool();
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);
}

TEST_F(EditorSelections, PickedColoursBecomeOneColourKey)
{
    editor->setCanvasTool(CanvasTool::eyedropper);
    editor->pickColor({60, 40});
    editor->pickColor({61, 41});  // the same red
    EXPECT_EQ(editor->pickedColors().size(), 1u);
    EXPECT_EQ(editor->canvasTool(), CanvasTool::select);
    EXPECT_TRUE(editor->isColorPicked(1, 0.0015, 0));

    // Off the image (either side): nothing, but the tool moves on.
    for (const QPointF off : {QPointF(-0.5, 10), QPointF(120, 10)}) {
        editor->setCanvasTool(CanvasTool::eyedropper);
        editor->pickColor(off);
        EXPECT_EQ(editor->pickedColors().size(), 1u);
        EXPECT_EQ(editor->canvasTool(), CanvasTool::select);
    }

    editor->togglePickedColor(RGBAColor{0.5, 0.5, 0.5, 1});
    editor->togglePickedColor(RGBAColor{0.5, 0.501, 0.5, 0.2});
    EXPECT_EQ(editor->pickedColors().size(), 1u);

    editor->finishSelection(EditorState::Points{{0, 0}, {60, 60}});
    editor->setColorTolerance(33);
    editor->removePickedColors(true);
    ASSERT_EQ(editor->maskOps().size(), 1u);
    const auto& key = std::get<MaskColorKey>(editor->maskOps()[0]);
    EXPECT_TRUE(key.keep);
    EXPECT_EQ(key.tolerance, 33);
    EXPECT_EQ(key.shape, SelectionKind::rectangle);
    EXPECT_TRUE(editor->pickedColors().isEmpty());
    EXPECT_FALSE(editor->pendingSelection());
    runner->settle();
    EXPECT_EQ(engines->calls("sourceBitmap"), 1);
    editor->togglePickedColor(RGBAColor{1, 1, 1, 1});
    editor->removePickedColors(false);
    runner->settle();
    EXPECT_EQ(engines->calls("sourceBitmap"), 1);  // made once per document
}

TEST_F(EditorSelections, ThePaletteOfAnOldDocumentNeverLands)
{
    editor->loadSelectionPalette();
    EXPECT_TRUE(editor->isLoadingPalette());
    runner->runWork(0);
    openDocument(QStringLiteral("other.png"));
    runner->deliver();
    EXPECT_TRUE(editor->selectionPalette().isEmpty());
    EXPECT_FALSE(editor->isLoadingPalette());
    editor->loadSelectionPalette();
    runner->settle();
    EXPECT_FALSE(editor->selectionPalette().isEmpty());
    EXPECT_FALSE(editor->isLoadingPalette());
}

TEST_F(EditorSelections, APaletteLandsOnlyOnTheAreaItWasReadFrom)
{
    editor->setSelectionKind(SelectionKind::rectangle);
    const EditorState::Points first{{10, 10}, {50, 50}};
    const EditorState::Points second{{60, 20}, {110, 70}};
    const auto readThen = [&](const std::function<void()>& change) {
        editor->loadSelectionPalette();
        change();
        runner->settle();
        EXPECT_FALSE(editor->isLoadingPalette());
        return editor->selectionPalette().size();
    };

    EXPECT_GT(readThen([] {}), 0);  // the whole image
    EXPECT_EQ(readThen([&] { editor->finishSelection(first); }), 0);
    editor->finishSelection(first);
    EXPECT_GT(readThen([] {}), 0);
    EXPECT_EQ(readThen([&] { editor->finishSelection(second); }), 0);
    EXPECT_EQ(readThen([&] { editor->setPendingSelection(std::nullopt); }), 0);  // "Clear selection"
    editor->finishSelection(first);
    editor->clearPendingSelection();
    editor->finishSelection(second);
    EXPECT_EQ(readThen([&] { editor->reselectLastSelection(); }), 0);
    // Reselecting drops a palette already read from the area it replaces.
    editor->clearPendingSelection();
    EXPECT_GT(readThen([] {}), 0);
    editor->reselectLastSelection();
    EXPECT_TRUE(editor->selectionPalette().isEmpty());
}

TEST_F(EditorSelections, ACropIsWholePixelsOnTheImage)
{
    editor->setCanvasTool(CanvasTool::crop);
    editor->setCropDraft(QRectF(10, 10, 2, 100));
    editor->applyCrop();
    EXPECT_FALSE(editor->comp().crop);
    EXPECT_TRUE(editor->cropDraft());

    editor->setCropDraft(QRectF(10.4, 10.6, 2.5, 100));
    editor->applyCrop();
    EXPECT_EQ(editor->comp().crop, QRectF(10, 10, 3, 70));  // cut at the image's bottom edge
    EXPECT_FALSE(editor->cropDraft());
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);

    editor->setCropDraft(QRectF(118.5, 10, 40, 40));  // 2 px of it lie on the image
    editor->applyCrop();
    EXPECT_EQ(editor->comp().crop, QRectF(10, 10, 3, 70));
    EXPECT_TRUE(editor->cropDraft());

    editor->removeCrop();
    EXPECT_FALSE(editor->comp().crop);
    EXPECT_FALSE(editor->cropDraft());
}

TEST_F(EditorSelections, ACropDrawnAtAnAspectIsExactlyThatAspect)
{
    // The picture is 120 × 80.
    editor->setCropAspect(AspectPreset::square);
    editor->setCropDraft(QRectF(10.9, 10, 20.2, 20.2));
    editor->applyCrop();
    EXPECT_EQ(editor->comp().crop, QRectF(11, 10, 20, 20)) << "rounding each edge outwards would give 22 × 21";

    // Kept inside the picture, and no larger than it can hold.
    editor->setCropAspect(AspectPreset::wide);
    editor->setCropDraft(QRectF(60, 50, 100, 56.25));
    editor->applyCrop();
    EXPECT_EQ(editor->comp().crop, QRectF(24, 26, 96, 54));
    editor->setCropAspect(AspectPreset::story);
    editor->setCropDraft(QRectF(0, 0, 90, 160));
    editor->applyCrop();
    EXPECT_EQ(editor->comp().crop, QRectF(22, 0, 45, 80));
}

TEST_F(EditorSelections, ThePanToggleReturnsToTheToolBefore)
{
    editor->setCanvasTool(CanvasTool::erase);
    editor->togglePanTool();
    EXPECT_EQ(editor->canvasTool(), CanvasTool::pan);
    editor->togglePanTool();
    EXPECT_EQ(editor->canvasTool(), CanvasTool::erase);
    editor->setPreviousTool(CanvasTool::pan);
    editor->setCanvasTool(CanvasTool::pan);
    editor->togglePanTool();
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);
    editor->setZoom(3);
    editor->setPanOffset({4, 5});
    editor->zoomToFit();
    EXPECT_EQ(editor->zoom(), 1);
    EXPECT_EQ(editor->panOffset(), QSizeF(0, 0));
}

} // namespace zephrin::testing
