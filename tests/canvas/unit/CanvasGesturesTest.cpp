// The pointer tools on an editor over scripted engines. The canvas shows the
// 120 × 80 test picture at 2 points a pixel from (24, 24), so a document point
// p is the region point 24 + 2p.

#include "EditorFixture.h"
#include "canvas/CanvasController.h"

namespace zephrin::testing {

class CanvasGesturesTest : public EditorTest {
protected:
    CanvasGesturesTest()
    {
        openDocument();
        controller.setRegionSize({288, 208});
    }

    static QPointF at(double x, double y) { return {24 + 2 * x, 24 + 2 * y}; }

    // A drag from one document point to another, through the points between.
    void drag(QPointF from, QPointF to, std::initializer_list<QPointF> between = {})
    {
        CanvasGestures& g = controller.gestures();
        g.press(at(from.x(), from.y()), controller.mapping());
        for (QPointF p : between)
            g.move(at(p.x(), p.y()), controller.mapping());
        g.move(at(to.x(), to.y()), controller.mapping());
        g.release(at(to.x(), to.y()), controller.mapping());
    }
    void click(QPointF p) { drag(p, p); }

    CanvasController controller{*editor};
};

TEST_F(CanvasGesturesTest, TheMappingIsTheFittedImage)
{
    const ViewMapping m = controller.mapping();
    EXPECT_EQ(m.imageRect(), QRectF(24, 24, 240, 160));
    EXPECT_EQ(m.toDocument(at(30, 20)), QPointF(30, 20));
}

TEST_F(CanvasGesturesTest, ABrushStrokeIsCommittedOnReleaseAndEscapeDropsIt)
{
    editor->setCanvasTool(CanvasTool::erase);
    CanvasGestures& g = controller.gestures();
    g.press(at(10, 10), controller.mapping());
    g.move(at(20, 10), controller.mapping());
    EXPECT_EQ(editor->liveStroke(), (EditorState::Points{{10, 10}, {20, 10}}));
    g.release(at(20, 10), controller.mapping());
    ASSERT_EQ(editor->maskOps().size(), 1u);
    // Drawn until its result is shown.
    runner->settle();
    EXPECT_TRUE(editor->liveStroke().empty());

    // Escape in the middle of a stroke: nothing of it is committed, and the
    // rest of the drag is ignored until the release.
    g.press(at(30, 30), controller.mapping());
    g.move(at(40, 30), controller.mapping());
    EXPECT_TRUE(controller.keyPressed(Qt::Key_Escape, false, false));
    EXPECT_TRUE(editor->liveStroke().empty());
    g.move(at(50, 30), controller.mapping());
    EXPECT_TRUE(editor->liveStroke().empty());
    g.release(at(50, 30), controller.mapping());
    EXPECT_EQ(editor->maskOps().size(), 1u);
    // The next drag works again.
    drag({5, 5}, {6, 6});
    EXPECT_EQ(editor->maskOps().size(), 2u);
}

TEST_F(CanvasGesturesTest, PanningMovesByViewPointsAndEscapePutsItBack)
{
    editor->setCanvasTool(CanvasTool::pan);
    CanvasGestures& g = controller.gestures();
    g.press(at(10, 10), controller.mapping());
    g.move(at(10, 10) + QPointF(30, -12), controller.mapping());
    EXPECT_EQ(editor->panOffset(), QSizeF(30, -12));
    g.release(at(10, 10) + QPointF(30, -12), controller.mapping());

    g.press(at(10, 10), controller.mapping());
    g.move(at(10, 10) + QPointF(50, 50), controller.mapping());
    controller.keyPressed(Qt::Key_Escape, false, false);
    EXPECT_EQ(editor->panOffset(), QSizeF(30, -12));
    g.release(at(10, 10), controller.mapping());
}

TEST_F(CanvasGesturesTest, ClicksMakeNoRectangleAndDropAPendingSelection)
{
    editor->setCanvasTool(CanvasTool::select);
    click({30, 30});
    EXPECT_FALSE(editor->pendingSelection());
    EXPECT_TRUE(editor->liveStroke().empty());

    drag({10, 10}, {60, 40}, {{30, 20}});
    ASSERT_TRUE(editor->pendingSelection());
    EXPECT_EQ(*editor->pendingSelection(), (EditorState::Points{{10, 10}, {60, 40}}));

    click({30, 25});  // inside: unchanged
    EXPECT_EQ(*editor->pendingSelection(), (EditorState::Points{{10, 10}, {60, 40}}));
    drag({30, 25}, {40, 30});  // inside: moved
    EXPECT_EQ(*editor->pendingSelection(), (EditorState::Points{{20, 15}, {70, 45}}));
    click({100, 70});  // outside: gone
    EXPECT_FALSE(editor->pendingSelection());
}

// A press is a click only when the pointer hardly moved along the way, not
// when it merely ends where it began.
TEST_F(CanvasGesturesTest, ALoopBackToItsStartIsADragNotAClick)
{
    editor->setCanvasTool(CanvasTool::select);
    const std::initializer_list<QPointF> loop = {{60, 20}, {60, 50}, {20, 50}};

    // A lasso closed on its start selects what it went round.
    editor->setSelectionKind(SelectionKind::lasso);
    drag({20, 20}, {20, 20}, loop);
    ASSERT_TRUE(editor->pendingSelection());
    EXPECT_EQ(editor->pendingKind(), SelectionKind::lasso);
    EXPECT_EQ(editor->pendingSelection()->size(), 5u);
    // A lasso that only trembles is a click: outside, it drops the selection.
    drag({100, 70}, {100, 70}, {{100.5, 70.5}, {100, 70.5}});
    EXPECT_FALSE(editor->pendingSelection());
    // A lasso along a line encloses nothing, and its stroke does not join the next one.
    drag({10, 10}, {40, 10});
    EXPECT_FALSE(editor->pendingSelection());
    EXPECT_TRUE(editor->liveStroke().empty());

    // A box spans press and release: one that comes back to its start is empty.
    editor->setSelectionKind(SelectionKind::rectangle);
    drag({20, 20}, {20, 20}, loop);
    EXPECT_FALSE(editor->pendingSelection());
    EXPECT_TRUE(editor->liveStroke().empty());

    // An outline's drag places no corner, wherever it ends.
    editor->setSelectionKind(SelectionKind::polygon);
    click({10, 10});
    drag({50, 50}, {50, 50}, loop);
    EXPECT_EQ(editor->liveStroke(), (EditorState::Points{{10, 10}}));
}

TEST_F(CanvasGesturesTest, HandlesReshapeFlipAndNeverShrinkBelowTwoPixels)
{
    // Handle 4 of a 100 × 50 box dragged by (−150, −80) flips it.
    EXPECT_EQ(CanvasGestures::reshapedBox(QRectF(0, 0, 100, 50), 4, {-150, -80}), QRectF(-50, -30, 50, 30));
    EXPECT_EQ(CanvasGestures::reshapedBox(QRectF(0, 0, 100, 50), 3, {-100, 0}), QRectF(0, 0, 2, 50));
    EXPECT_EQ(CanvasGestures::reshapedBox(QRectF(10, 10, 20, 20), 1, {5, 7}), QRectF(10, 17, 20, 13));

    // Through the canvas: the top-left handle of a rectangle, hit within 10 points.
    editor->setCanvasTool(CanvasTool::select);
    editor->finishSelection(EditorState::Points{{20, 20}, {60, 50}});
    drag({22, 23}, {12, 13});  // 3.6 px = 7.2 points from the corner
    EXPECT_EQ(*editor->pendingSelection(), (EditorState::Points{{10, 10}, {60, 50}}));

    // A lasso scaled by handle 3 to twice its width keeps every height.
    editor->setSelectionKind(SelectionKind::lasso);
    editor->finishSelection(EditorState::Points{{10, 10}, {30, 10}, {20, 40}});
    drag({30, 25}, {50, 25});  // the right-middle handle
    EXPECT_EQ(*editor->pendingSelection(), (EditorState::Points{{10, 10}, {50, 10}, {30, 40}}));
}

TEST_F(CanvasGesturesTest, TheGradientToolDrawsTheAreaFirstThenItsLine)
{
    editor->setCanvasTool(CanvasTool::gradient);
    drag({10, 10}, {60, 40});
    ASSERT_TRUE(editor->pendingSelection());  // no area yet: the drag drew one
    EXPECT_TRUE(editor->paintOps().empty());

    CanvasGestures& g = controller.gestures();
    g.press(at(80, 60), controller.mapping());  // outside the area: a line
    g.move(at(100, 70), controller.mapping());
    EXPECT_EQ(editor->gradientLine(), QLineF(QPointF(80, 60), QPointF(100, 70)));
    g.release(at(100, 70), controller.mapping());
    EXPECT_FALSE(editor->gradientLine());
    EXPECT_EQ(editor->paintOps().size(), 1u);
}

TEST_F(CanvasGesturesTest, OutlinesAreClickedPointByPointAndClosedAtTheirStart)
{
    editor->setCanvasTool(CanvasTool::select);
    editor->setSelectionKind(SelectionKind::polygon);
    click({10, 10});
    click({50, 10});
    drag({50, 20}, {60, 40});  // a drag places no point
    click({50, 50});
    EXPECT_EQ(editor->liveStroke().size(), 3u);
    click({14, 12});  // within 12 px of the first
    ASSERT_TRUE(editor->pendingSelection());
    EXPECT_EQ(editor->pendingKind(), SelectionKind::polygon);

    // A click outside the pending outline drops it and starts a new one there.
    click({100, 70});
    EXPECT_FALSE(editor->pendingSelection());
    EXPECT_EQ(editor->liveStroke(), (EditorState::Points{{100, 70}}));
    // Double-clicks: tst_CanvasInput.qml, with the events as Qt sends them.
}

TEST_F(CanvasGesturesTest, CropBoxesFollowTheirAspectAndMayLeaveTheImage)
{
    editor->setCanvasTool(CanvasTool::crop);
    editor->setCropAspect(AspectPreset::wide);
    drag({10, 10}, {60, 15});
    ASSERT_TRUE(editor->cropDraft());
    EXPECT_DOUBLE_EQ(editor->cropDraft()->width(), 50);
    EXPECT_DOUBLE_EQ(editor->cropDraft()->height(), 50 * 9.0 / 16.0);
    EXPECT_EQ(CanvasGestures::croppedBox(CanvasGestures::CropDrag::create, -1, {}, {10, 10}, {210, 30}, 16.0 / 9.0),
              QRectF(10, 10, 200, 112.5));

    editor->setCropAspect(AspectPreset::original);
    // The bottom-right corner, within 10 points.
    const QRectF before = *editor->cropDraft();
    drag(before.bottomRight() + QPointF(-2, -2), before.bottomRight() + QPointF(-12, 8));
    EXPECT_EQ(*editor->cropDraft(), before.adjusted(0, 0, -10, 10));
    drag({30, 20}, {110, 20});  // inside: moved past the right edge
    EXPECT_EQ(*editor->cropDraft(), QRectF(90, 10, 40, 50 * 9.0 / 16.0 + 10));
    // A click away from the box leaves an empty box there.
    click({5, 70});
    EXPECT_EQ(*editor->cropDraft(), QRectF(5, 70, 0, 0));
}

TEST_F(CanvasGesturesTest, SpaceTurnsAnyToolIntoPanAndTheViewToolHasNoDrag)
{
    editor->setCanvasTool(CanvasTool::erase);
    EXPECT_TRUE(controller.keyPressed(Qt::Key_Space, false, false));
    EXPECT_EQ(effectiveTool(*editor), CanvasTool::pan);
    EXPECT_TRUE(controller.keyPressed(Qt::Key_Space, true, false));  // the held Space's repeats
    drag({10, 10}, {20, 10});
    EXPECT_EQ(editor->panOffset(), QSizeF(20, 0));
    EXPECT_TRUE(editor->maskOps().empty());
    EXPECT_TRUE(controller.keyReleased(Qt::Key_Space, true));  // a repeat's release: still held
    EXPECT_TRUE(editor->spacePan());
    EXPECT_TRUE(controller.keyReleased(Qt::Key_Space, false));
    EXPECT_EQ(effectiveTool(*editor), CanvasTool::erase);
    // A Space the canvas did not take (a focused button's) is not its to end.
    EXPECT_FALSE(controller.keyPressed(Qt::Key_Space, true, false));
    EXPECT_FALSE(controller.keyReleased(Qt::Key_Space, false));

    // Typing a space in a text field does not pan.
    EXPECT_FALSE(controller.keyPressed(Qt::Key_Space, false, true));
    EXPECT_FALSE(editor->spacePan());

    editor->setCanvasTool(CanvasTool::view);
    editor->setPanOffset({0, 0});
    drag({10, 10}, {40, 40});
    EXPECT_EQ(editor->panOffset(), QSizeF(0, 0));
}

TEST_F(CanvasGesturesTest, ThePickerPicksOnReleaseAndHoverFollowsThePointer)
{
    editor->setCanvasTool(CanvasTool::eyedropper);
    click({60, 40});
    EXPECT_EQ(editor->pickedColors().size(), 1u);
    EXPECT_EQ(editor->canvasTool(), CanvasTool::select);

    controller.gestures().hover(at(12, 8), controller.mapping());
    EXPECT_EQ(editor->hoverPoint(), QPointF(12, 8));
    controller.gestures().hover(QPointF(2, 2), controller.mapping());  // off the image
    EXPECT_FALSE(editor->hoverPoint());
}

TEST_F(CanvasGesturesTest, EscapeClearsWhatIsPendingOrPassesTheKeyOn)
{
    EXPECT_FALSE(controller.keyPressed(Qt::Key_Escape, false, false));
    editor->setCropDraft(QRectF(1, 1, 10, 10));
    editor->finishSelection(EditorState::Points{{10, 10}, {60, 40}});
    editor->setGradientLine(QLineF(0, 0, 5, 5));
    EXPECT_FALSE(controller.keyPressed(Qt::Key_Escape, false, true));  // a text field has it
    EXPECT_TRUE(controller.keyPressed(Qt::Key_Escape, false, false));
    EXPECT_FALSE(editor->cropDraft());
    EXPECT_FALSE(editor->pendingSelection());
    EXPECT_FALSE(editor->gradientLine());
    EXPECT_FALSE(controller.keyPressed(Qt::Key_A, false, false));
}

TEST_F(CanvasGesturesTest, ScrollingZoomsOverTheCanvasOnly)
{
    EXPECT_FALSE(controller.scrolled({-5, 40}, 10, true));  // beside the canvas
    EXPECT_TRUE(controller.scrolled({100, 80}, 0.001, true));  // consumed, too small to zoom
    EXPECT_DOUBLE_EQ(editor->zoom(), 1.0);
    const QPointF under = controller.mapping().toDocument({100, 80});
    EXPECT_TRUE(controller.scrolled({100, 80}, 10, true));
    EXPECT_DOUBLE_EQ(editor->zoom(), 1.1);
    EXPECT_NEAR(controller.mapping().toDocument({100, 80}).x(), under.x(), 1e-9);

    editor->setTool(EditorTool::sheet);
    EXPECT_FALSE(controller.scrolled({100, 80}, 10, true));
    editor->setTool(EditorTool::cutout);

    controller.pinchChanged(20);
    EXPECT_DOUBLE_EQ(editor->zoom(), 8.0);
    controller.pinchChanged(0.5);  // the same pinch: from its start
    EXPECT_DOUBLE_EQ(editor->zoom(), 0.55);
    controller.pinchEnded();
    controller.pinchChanged(2);
    EXPECT_DOUBLE_EQ(editor->zoom(), 1.1);
}

} // namespace zephrin::testing
