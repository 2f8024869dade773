// The canvas item in a window: it filters the window's keys, wheel and focus
// while shown, lets a held Space go when it stops, and the compare knob and
// drag-out keep to what they can do.

#include "EditorFixture.h"
#include "canvas/CanvasActions.h"
#include "canvas/CanvasSurface.h"
#include "canvas/DragOutPayload.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QQuickWindow>
#include <QWheelEvent>

namespace zephrin::testing {

class CanvasSurfaceTest : public EditorTest {
protected:
    CanvasSurfaceTest()
    {
        surface = new CanvasSurface(window.contentItem());
        surface->setSize({288, 208});
        surface->setEditorObject(editor.get());
    }

    void key(QEvent::Type type, int code, bool repeat = false)
    {
        QKeyEvent event(type, code, Qt::NoModifier, QString(), repeat);
        QCoreApplication::sendEvent(&window, &event);
    }

    QQuickWindow window;
    CanvasSurface* surface = nullptr;
};

TEST_F(CanvasSurfaceTest, ASpaceHeldIsLetGoWhenTheCanvasStopsTakingKeys)
{
    ASSERT_TRUE(surface->filtering());
    key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(editor->spacePan());
    EXPECT_EQ(surface->effectiveToolLabel(), QStringLiteral("Pan"));
    surface->setVisible(false);  // the compare view, the sheet tool…
    EXPECT_FALSE(surface->filtering());
    EXPECT_FALSE(editor->spacePan());
    key(QEvent::KeyPress, Qt::Key_Space);  // no longer filtered
    EXPECT_FALSE(editor->spacePan());

    surface->setVisible(true);
    key(QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(editor->spacePan());
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&window, &focusOut);
    EXPECT_FALSE(editor->spacePan());

    key(QEvent::KeyPress, Qt::Key_Space);
    delete surface;  // the canvas leaves the window
    EXPECT_FALSE(editor->spacePan());
}

TEST_F(CanvasSurfaceTest, TheWheelZoomsOnlyOverAnOpenDocument)
{
    QWheelEvent early({100, 80}, {100, 80}, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &early);
    EXPECT_DOUBLE_EQ(editor->zoom(), 1.0);  // no document yet

    openDocument();
    EXPECT_EQ(surface->imageRect(), QRectF(24, 24, 240, 160));
    QWheelEvent notch({100, 80}, {100, 80}, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &notch);
    EXPECT_DOUBLE_EQ(editor->zoom(), 1.06);
    QWheelEvent beside({400, 80}, {400, 80}, {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &beside);
    EXPECT_DOUBLE_EQ(editor->zoom(), 1.06);
}

TEST_F(CanvasSurfaceTest, NothingIsDraggedOutWithoutAResult)
{
    EXPECT_FALSE(CanvasActions().dragOut(editor.get(), surface));
    EXPECT_EQ(editor->lastError(), QStringLiteral("Run Auto Subject first."));

    openDocument(QStringLiteral("mug.png"));
    editor->setLastError(QStringLiteral("Run Auto Subject first."), ErrorTopic::copy);
    const auto payload = dragOutPayload(*editor);
    ASSERT_TRUE(payload);
    EXPECT_TRUE(editor->lastError().isEmpty());  // the drag that works takes the old one away
    EXPECT_TRUE(payload->png.startsWith("\x89PNG"));
    EXPECT_EQ(payload->fileName, QStringLiteral("mug-cutout"));
    EXPECT_EQ(surface->resultImage().size(), QSize(120, 80));
}

TEST_F(CanvasSurfaceTest, TheCompareKnobNeedsAWidth)
{
    CanvasActions actions;
    actions.dragCompare(editor.get(), 5, 1000);
    EXPECT_DOUBLE_EQ(editor->comparePosition(), 0.02);
    actions.dragCompare(editor.get(), 995, 1000);
    EXPECT_DOUBLE_EQ(editor->comparePosition(), 0.98);
    actions.dragCompare(editor.get(), 40, 0);
    EXPECT_DOUBLE_EQ(editor->comparePosition(), 0.98);
}

} // namespace zephrin::testing
