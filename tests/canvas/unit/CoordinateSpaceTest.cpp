// Edits land where the user sees them: the canvas maps the pointer through the
// frame the compositor publishes with each composite, so with a crop and the
// mirror on, a stroke over the subject's left ear on screen erases that ear.

#include "EditorFixture.h"
#include "canvas/CanvasController.h"

namespace zephrin::testing {

class CoordinateSpaceTest : public EditorTest {
protected:
    CoordinateSpaceTest()
    {
        // A 200 × 100 picture whose subject spans x 20…180: its "ears" are
        // the columns near either end.
        engines->subject = QRect(20, 10, 160, 80);
        openDocument(QStringLiteral("ears.png"), 200, 100);
        // Shown 1 point a pixel from (34, 24).
        controller.setRegionSize({248, 148});
    }

    int alphaAt(QPointF shown) const { return editor->compositeImage().pixelColor(shown.toPoint()).alpha(); }

    CanvasController controller{*editor};
};

TEST_F(CoordinateSpaceTest, TheCompositeComesWithItsFrame)
{
    EXPECT_EQ(editor->compositeFrame(), CompositeFrame{});
    editor->setComp(QStringLiteral("crop"), QRectF(10, 0, 180, 100));
    editor->setComp(QStringLiteral("mirror"), true);
    runner->settle();
    ASSERT_TRUE(editor->composite());
    EXPECT_EQ(editor->compositeImage().width(), 180);
    EXPECT_EQ(editor->compositeFrame().origin, QPointF(10, 0));
    EXPECT_TRUE(editor->compositeFrame().mirror);
    EXPECT_TRUE(editor->property("compositeFrame").toMap().value(QStringLiteral("mirror")).toBool());
}

TEST_F(CoordinateSpaceTest, AStrokeOnTheShownLeftEarErasesTheShownLeftEar)
{
    CompositeSettings comp = editor->comp();
    comp.crop = QRectF(10, 0, 180, 100);
    comp.mirror = true;
    editor->setComp(comp);
    runner->settle();
    const ViewMapping m = controller.mapping();
    ASSERT_EQ(m.imageRect(), QRectF(34, 24, 180, 100));
    const QPointF leftEar(22, 50), rightEar(158, 50);  // in the shown composite
    ASSERT_GT(alphaAt(leftEar), 200);
    ASSERT_GT(alphaAt(rightEar), 200);

    editor->setCanvasTool(CanvasTool::erase);
    editor->setBrushSize(12);
    CanvasGestures& g = controller.gestures();
    g.press(m.origin + leftEar + QPointF(0, -10), m);
    g.move(m.origin + leftEar + QPointF(0, 10), m);
    // The stroke is stored in document pixels: the document's right side.
    EXPECT_NEAR(editor->liveStroke().front().x(), 168, 1e-9);
    g.release(m.origin + leftEar + QPointF(0, 10), m);
    runner->settle();

    EXPECT_LT(alphaAt(leftEar), 8);
    EXPECT_GT(alphaAt(rightEar), 200);
}

} // namespace zephrin::testing
