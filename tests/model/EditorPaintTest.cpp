// Gradients and fills: where they are placed and which one the panel replaces.

#include "EditorFixture.h"

namespace zephrin::testing {

class EditorPaint : public EditorTest {
protected:
    EditorPaint() { openDocument(); }

    const PaintGradient& lastGradient() { return std::get<PaintGradient>(editor->paintOps().back()); }
};

TEST_F(EditorPaint, APanelGradientSpansTheSelectionAlongItsAngle)
{
    editor->finishSelection(EditorState::Points{{10, 20}, {50, 40}});
    editor->applyPanelGradient();
    EXPECT_EQ(lastGradient().from, QPointF(10, 30));
    EXPECT_EQ(lastGradient().to, QPointF(50, 30));
    EXPECT_EQ(lastGradient().shape, SelectionKind::rectangle);
    EXPECT_FALSE(editor->pendingSelection());
    EXPECT_TRUE(editor->lastSelection());

    // At 90° the line runs down the same box; it replaces the last gradient and
    // keeps its clip.
    editor->setGradientAngle(90);
    editor->applyPanelGradient();
    ASSERT_EQ(editor->paintOps().size(), 1u);
    EXPECT_NEAR(lastGradient().from.x(), 30, 1e-9);
    EXPECT_NEAR(lastGradient().from.y(), 20, 1e-9);
    EXPECT_NEAR(lastGradient().to.y(), 40, 1e-9);
    EXPECT_EQ(lastGradient().shape, SelectionKind::rectangle);
    EXPECT_EQ(editor->undoCount(), 1);
}

TEST_F(EditorPaint, WithoutASelectionTheGradientSpansTheVisibleSubject)
{
    editor->applyPanelGradient();
    // The red block of the picture, give or take its feathered edge.
    EXPECT_NEAR(lastGradient().from.x(), 30, 3);
    EXPECT_NEAR(lastGradient().to.x(), 90, 3);
    EXPECT_NEAR(lastGradient().from.y(), 40, 1);
    EXPECT_FALSE(lastGradient().shape);
}

TEST_F(EditorPaint, OnlyTheNewestGradientInForceIsReplaced)
{
    editor->applyGradient({0, 0}, {40, 0});
    editor->applyPanelGradient();
    EXPECT_EQ(editor->paintOps().size(), 1u);  // replaced the dragged one

    editor->undo();
    editor->applyPanelGradient();
    EXPECT_EQ(editor->paintOps().size(), 1u);  // the undone one was cut, this one appended
    EXPECT_EQ(editor->activePaintOpCount(), 1);

    editor->fillSelectionWithPaintColor();
    editor->applyPanelGradient();
    EXPECT_EQ(editor->paintOps().size(), 3u);  // a fill is never replaced
}

TEST_F(EditorPaint, AShortDragOnlyClearsTheLine)
{
    editor->setGradientLine(QLineF(0, 0, 2, 0));
    editor->applyGradient({0, 0}, {2, 0});
    EXPECT_FALSE(editor->gradientLine());
    EXPECT_TRUE(editor->paintOps().empty());
}

TEST_F(EditorPaint, AFillCoversTheSelectionInTheBrushColour)
{
    editor->setPaintColor({0, 1, 0, 1});
    editor->setSelectionKind(SelectionKind::ellipse);
    editor->finishSelection(EditorState::Points{{10, 10}, {30, 50}});
    editor->fillSelectionWithPaintColor();
    const PaintGradient& fill = lastGradient();
    EXPECT_EQ(fill.start, fill.end);
    EXPECT_EQ(fill.start, (RGBAColor{0, 1, 0, 1}));
    EXPECT_EQ(fill.from, QPointF(10, 30));
    EXPECT_EQ(fill.to, QPointF(30, 30));
    EXPECT_EQ(fill.shape, SelectionKind::ellipse);
    EXPECT_FALSE(editor->lastGradientOpIndex());
    runner->settle();
    EXPECT_TRUE(editor->paintLayers());
}

} // namespace zephrin::testing
