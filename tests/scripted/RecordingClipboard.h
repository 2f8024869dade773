#pragma once
// A clipboard for tests: keeps what the editor put on it.

#include "model/editor/EditorState.h"

#include <QMimeData>

#include <memory>

namespace zephrin::testing {

class RecordingClipboard final : public ClipboardSink {
public:
    void setMimeData(QMimeData* data) override { last.reset(data); }

    std::unique_ptr<QMimeData> last;
};

} // namespace zephrin::testing
