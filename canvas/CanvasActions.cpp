#include "canvas/CanvasActions.h"

#include "canvas/DragOutPayload.h"
#include "canvas/ViewGeometry.h"
#include "controls/DragOut.h"
#include "model/editor/EditorState.h"
#include "model/editor/ExportFile.h"

#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace zephrin {

namespace {

// The one drag out that waits (there is one pointer): for the result's PNG,
// then for its file to be written.
struct WaitingDrag {
    QPointer<QQuickItem> source;
    QMetaObject::Connection ready;
    int generation = 0;   // which wait a finished file write belongs to
};

WaitingDrag& waitingDrag()
{
    static WaitingDrag waiting;
    return waiting;
}

// Writes the drag's file on a worker, then starts the drag, unless the
// button was let go meanwhile; a file that cannot be written still leaves
// the PNG data to drag.
void writeThenDrag(const DragOutPayload& payload)
{
    const int generation = waitingDrag().generation;
    QQuickItem* source = waitingDrag().source;
    QtConcurrent::run([payload] { return DragOutQml::writeFile(payload.png, payload.fileName); })
        .then(source, [payload, generation](const std::optional<QString>& file) {
            WaitingDrag& now = waitingDrag();
            if (now.generation != generation || !now.source)
                return;
            QPointer<QQuickItem> from = now.source;
            now.source.clear();
            // The drag runs an event loop of its own until the drop.
            DragOutQml::start(from, payload.png, file);
        });
}

} // namespace

QString CanvasActions::importableFormats() const
{
    return importableImageNames();
}

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
    WaitingDrag& waiting = waitingDrag();
    waiting.source = source;
    if (const auto payload = dragOutPayload(*state)) {
        writeThenDrag(*payload);
        return true;
    }
    waiting.ready = QObject::connect(state, &EditorState::resultPNGChanged, source, [state] {
        if (const auto payload = dragOutPayload(*state)) {
            QObject::disconnect(waitingDrag().ready);
            writeThenDrag(*payload);
        }
    });
    state->prepareResultPNG();
    return true;
}

void CanvasActions::cancelDragOut() const
{
    WaitingDrag& waiting = waitingDrag();
    QObject::disconnect(waiting.ready);
    waiting.source.clear();
    ++waiting.generation;
}

bool CanvasActions::dragOutWaiting()
{
    return !waitingDrag().source.isNull();
}

} // namespace zephrin
