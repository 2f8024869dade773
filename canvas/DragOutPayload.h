#pragma once
// The result as the canvas drags it out: the PNG of the composite (else the
// cutout) and its file name. A drag with nothing to carry never starts; the
// editor's lastError says why.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zephrin {

class EditorState;

struct DragOutPayload {
    QByteArray png;
    QString fileName;
};

// The payload; none, with lastError set, when there is no result or it could
// not be encoded.
std::optional<DragOutPayload> dragOutPayload(EditorState& editor);

} // namespace zephrin
