#include "canvas/CanvasActions.h"

#include "canvas/DragOutPayload.h"
#include "canvas/ViewGeometry.h"
#include "controls/DragOut.h"
#include "model/editor/EditorState.h"

#include <QPointer>
#include <QTimer>

namespace zephrin {

namespace {

// The one drag out that waits for its PNG (there is one pointer).
struct WaitingDrag {
    QPointer<QQuickItem> source;
    QMetaObject::Connection ready;
};

WaitingDrag& waitingDrag()
{
    static WaitingDrag waiting;
    return waiting;
}

void startDrag(const EditorState& editor, QQuickItem* source)
{
    if (const auto payload = dragOutPayload(editor))
        DragOutQml().start(source, payload->png, payload->fileName);
}

} // namespace

void CanvasActions::dragCompare(QObject* editor, double x, double width) const
{
    auto* state = qobject_cast<EditorState*>(editor);
    if (const auto position = comparePosition(x, width); state && position)
        state->setComparePosition(*position);
}

void CanvasActions::prepareDragOut(QObject* editor) const
{
    if (auto* state = qobject_cast<EditorState*>(editor))
        state->prepareResultPNG();
}

bool CanvasActions::dragOut(QObject* editor, QQuickItem* source) const
{
    cancelDragOut();
    auto* state = qobject_cast<EditorState*>(editor);
    if (!state || !source || !hasDragOutResult(*state))
        return false;
    if (dragOutPayload(*state)) {
        startDrag(*state, source);
        return true;
    }
    WaitingDrag& waiting = waitingDrag();
    waiting.source = source;
    waiting.ready = QObject::connect(state, &EditorState::resultPNGChanged, source, [state] {
        WaitingDrag& now = waitingDrag();
        if (!state->resultPNG() || !now.source)
            return;
        QPointer<QQuickItem> from = now.source;
        QObject::disconnect(now.ready);
        now.source.clear();
        // Out of the signal: the drag runs an event loop of its own until the drop.
        QTimer::singleShot(0, from, [state = QPointer<EditorState>(state), from] {
            if (state && from)
                startDrag(*state, from);
        });
    });
    state->prepareResultPNG();
    return true;
}

void CanvasActions::cancelDragOut() const
{
    WaitingDrag& waiting = waitingDrag();
    QObject::disconnect(waiting.ready);
    waiting.source.clear();
}

bool CanvasActions::dragOutWaiting()
{
    return !waitingDrag().source.isNull();
}

} // namespace zephrin
