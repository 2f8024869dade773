#include "canvas/DragOutPayload.h"

#include "engine/types/MatteError.h"
#include "model/editor/EditorState.h"

namespace zephrin {

std::optional<DragOutPayload> dragOutPayload(EditorState& editor)
{
    if (!editor.composite() && !editor.cutout()) {
        editor.setLastError(QStringLiteral("Run Auto Subject first."), ErrorTopic::copy);
        return std::nullopt;
    }
    auto [png, name] = editor.dragPayload();
    if (png.isEmpty()) {
        editor.setLastError(QString::fromUtf8(sentence(MatteErrorKind::renderFailed)), ErrorTopic::copy);
        return std::nullopt;
    }
    editor.clearLastError(ErrorTopic::copy);
    return DragOutPayload{std::move(png), std::move(name)};
}

} // namespace zephrin
