#include "canvas/CanvasController.h"

#include "model/editor/EditorState.h"

#include <Qt>

namespace zephrin {

QSizeF shownImageSize(const EditorState& editor)
{
    const auto sizeOf = [](const ImageBox& box) { return QSizeF(box.image().width(), box.image().height()); };
    if (editor.composite())
        return sizeOf(*editor.composite());
    if (editor.cutout())
        return sizeOf(*editor.cutout());
    if (editor.document())
        return sizeOf(editor.document()->image);
    return {};
}

ViewMapping CanvasController::mapping() const { return mappingWithPan(m_editor.panOffset()); }

ViewMapping CanvasController::compareMapping() const { return mappingWithPan({}); }

ViewMapping CanvasController::mappingWithPan(QSizeF pan) const
{
    const CompositeFrame frame = m_editor.composite() ? m_editor.compositeFrame() : CompositeFrame{};
    return viewMapping(m_regionSize, shownImageSize(m_editor), m_editor.zoom(), pan, frame);
}

bool CanvasController::keyPressed(int key, bool autoRepeat, bool textEditing)
{
    if (textEditing)
        return false;
    if (key == Qt::Key_Escape) {
        // A drag in progress ends without its effect; its release is ignored.
        const bool cancelledDrag = m_gestures.cancel();
        const bool pending = m_editor.pendingSelection() || m_editor.cropDraft() || m_editor.gradientLine() ||
                             !m_editor.liveStroke().empty();
        if (!pending)
            return cancelledDrag;
        m_editor.setPendingSelection(std::nullopt);
        m_editor.setLiveStroke({});
        m_editor.setGradientLine(std::nullopt);
        m_editor.setSelectionPalette({});
        m_editor.setCropDraft(std::nullopt);
        return true;
    }
    if (key == Qt::Key_Space) {
        // The repeats of a Space the canvas holds are the canvas's too, so a
        // focused button never sees half of them.
        if (autoRepeat)
            return m_editor.spacePan();
        m_editor.setSpacePan(true);
        return true;
    }
    return false;
}

bool CanvasController::keyReleased(int key, bool autoRepeat)
{
    // Only a Space whose press the canvas took: another one's release
    // belongs to where its press went (a button clicks on it).
    if (key != Qt::Key_Space || !m_editor.spacePan())
        return false;
    // The platform repeats a held key as release-press pairs: those belong to the hold.
    if (!autoRepeat)
        m_editor.setSpacePan(false);
    return true;
}

bool CanvasController::scrolled(QPointF region, double deltaY, bool precise)
{
    const bool inside = region.x() >= 0 && region.y() >= 0 && region.x() <= m_regionSize.width() &&
                        region.y() <= m_regionSize.height();
    if (!inside || !m_editor.document() || m_editor.tool() == EditorTool::sheet)
        return false;
    if (const auto factor = scrollZoomFactor(deltaY, precise)) {
        const ZoomAndPan next = zoomAbout(region, *factor, m_regionSize, shownImageSize(m_editor), m_editor.zoom(),
                                          m_editor.panOffset());
        m_editor.setZoom(next.zoom);
        m_editor.setPanOffset(next.pan);
    }
    return true;
}

void CanvasController::pinchChanged(double magnification)
{
    if (!m_zoomAtPinchStart)
        m_zoomAtPinchStart = m_editor.zoom();
    m_editor.setZoom(pinchZoom(*m_zoomAtPinchStart, magnification));
}

void CanvasController::pinchEnded() { m_zoomAtPinchStart.reset(); }

void CanvasController::keysLost() { m_editor.setSpacePan(false); }

} // namespace zephrin
