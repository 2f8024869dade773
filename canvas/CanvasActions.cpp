#include "canvas/CanvasActions.h"

#include "controls/DragOut.h"
#include "canvas/DragOutPayload.h"
#include "canvas/ViewGeometry.h"
#include "model/editor/EditorState.h"

namespace zephrin {

void CanvasActions::dragCompare(QObject* editor, double x, double width) const
{
    auto* state = qobject_cast<EditorState*>(editor);
    if (const auto position = comparePosition(x, width); state && position)
        state->setComparePosition(*position);
}

bool CanvasActions::dragOut(QObject* editor, QQuickItem* source) const
{
    auto* state = qobject_cast<EditorState*>(editor);
    if (!state)
        return false;
    const auto payload = dragOutPayload(*state);
    return payload && DragOutQml().start(source, payload->png, payload->fileName);
}

} // namespace zephrin
