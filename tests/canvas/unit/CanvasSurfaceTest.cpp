// The canvas item in a window: it filters the window's keys, wheel and focus
// while shown, lets a held Space go when it stops, and the compare knob and
// drag-out keep to what they can do.

#include "EditorFixture.h"
#include "canvas/CanvasActions.h"
#include "canvas/CanvasSurface.h"
#include "canvas/DragOutPayload.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QNativeGestureEvent>
#include <QPointingDevice>
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

    void mouse(QEvent::Type type, QPointF at)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, at, at, Qt::LeftButton, held, Qt::NoModifier);
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

TEST_F(CanvasSurfaceTest, APinchZoomsOnlyOverTheCanvas)
{
    openDocument();
    const auto pinch = [&](QPointF at, Qt::NativeGestureType type, double value) {
        QNativeGestureEvent event(type, QPointingDevice::primaryPointingDevice(), 2, at, at, at, value, {});
        QCoreApplication::sendEvent(&window, &event);
    };
    for (const QPointF at : {QPointF(400, 80), QPointF(100, 80)}) {
        pinch(at, Qt::BeginNativeGesture, 0);
        pinch(at, Qt::ZoomNativeGesture, 0.5);
        pinch(at, Qt::EndNativeGesture, 0);
    }
    EXPECT_DOUBLE_EQ(editor->zoom(), 1.5);  // only the one over the canvas
}

TEST_F(CanvasSurfaceTest, NothingIsDraggedOutWithoutAResult)
{
    EXPECT_FALSE(CanvasActions().dragOut(editor.get(), surface));
    EXPECT_EQ(editor->lastError(), QStringLiteral("Run Auto Subject first."));

    openDocument(QStringLiteral("mug.png"));
    EXPECT_TRUE(hasDragOutResult(*editor));
    EXPECT_TRUE(editor->lastError().isEmpty());  // the drag that works takes the old one away
    const auto payload = dragOutPayload(*editor);
    ASSERT_TRUE(payload);
    EXPECT_TRUE(payload->png.startsWith("\x89PNG"));
    EXPECT_EQ(payload->fileName, QStringLiteral("mug-cutout"));
    EXPECT_EQ(surface->resultImage().size(), QSize(120, 80));
}

// A drag out never encodes on the GUI thread: a press asks a worker for the
// PNG, and a drag that begins before it is made starts when it is there,
// unless the button was let go first.
TEST_F(CanvasSurfaceTest, ADragOutWaitsForItsPngOffTheGuiThread)
{
    using namespace std::chrono_literals;
    openDocument();
    editor->setComp(QStringLiteral("crop"), QRectF(0, 0, 60, 40));
    runner->advance(90ms);
    runner->runAll();
    ASSERT_FALSE(editor->resultPNG());
    const int encodes = engines->calls("encodePNG");

    const QPointF at = surface->imageRect().center();
    const double away = QGuiApplication::styleHints()->startDragDistance() + 4;
    mouse(QEvent::MouseButtonPress, at);
    mouse(QEvent::MouseMove, at + QPointF(away, 0));
    EXPECT_TRUE(CanvasActions::dragOutWaiting());
    EXPECT_EQ(engines->calls("encodePNG"), encodes);
    mouse(QEvent::MouseButtonRelease, at + QPointF(away, 0));
    EXPECT_FALSE(CanvasActions::dragOutWaiting());
    runner->settle();   // the PNG is made on a worker; no drag starts
    EXPECT_EQ(engines->calls("encodePNG"), encodes + 1);
    EXPECT_TRUE(editor->resultPNG());
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
