#include "canvas/DragOutPayload.h"

#include "model/editor/EditorState.h"

namespace zephrin {

bool hasDragOutResult(EditorState& editor)
{
    if (!editor.composite() && !editor.cutout()) {
        editor.setLastError(QStringLiteral("Run Auto Subject first."));
        return false;
    }
    // A drag that can start succeeded: an older error goes.
    editor.clearLastError();
    return true;
}

std::optional<DragOutPayload> dragOutPayload(const EditorState& editor)
{
    if (!editor.resultPNG())
        return std::nullopt;
    return DragOutPayload{*editor.resultPNG(), editor.exportFilename()};
}

} // namespace zephrin
