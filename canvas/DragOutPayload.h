#pragma once
// The result as the canvas drags it out: the PNG of the composite (else the
// cutout), as the editor prepared it off the GUI thread, and its file name.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zephrin {

class EditorState;

struct DragOutPayload {
    QByteArray png;
    QString fileName;
};

// Whether there is a result to drag; when there is none, lastError says so.
bool hasDragOutResult(EditorState& editor);

// The payload once the result's PNG is ready; none while it is being made.
std::optional<DragOutPayload> dragOutPayload(const EditorState& editor);

} // namespace zephrin
