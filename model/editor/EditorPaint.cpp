// EditorState: gradients and fills, placed over the pending selection or, with
// none, over the visible subject. Coordinates are image pixels, y down.

#include "model/editor/EditorState.h"

#include "engine/edits/SelectionGeometry.h"
#include "model/editor/EditorStateWork.h"

#include <cmath>
#include <numbers>

namespace zephrin {

namespace {

using Selection = std::pair<SelectionKind, EditorState::Points>;

// A gradient confined to the selection (none: the whole picture).
PaintGradient gradientOp(GradientKind kind, QPointF from, QPointF to, RGBAColor start, RGBAColor end,
                         PaintBlend blend, double opacityPercent, const std::optional<Selection>& clip)
{
    return PaintGradient{kind, from, to, start, end, blend, opacityPercent / 100,
                         clip ? std::optional(clip->first) : std::nullopt, clip ? clip->second : EditorState::Points{}};
}

} // namespace

void EditorState::applyGradient(QPointF from, QPointF to)
{
    setGradientLine(std::nullopt);
    if (QLineF(from, to).length() <= 2)
        return;
    const auto clip = clearPendingSelection();
    if (!m_document)
        return;
    appendPaintOp(gradientOp(m_gradientKind, from, to, m_gradientStart, m_gradientEnd, m_paintBlend, m_paintOpacity, clip));
    setLastGradientOpIndex(int(m_paintOps.size()) - 1);
}

void EditorState::applyPanelGradient()
{
    if (!m_document)
        return;
    // The last gradient can be replaced while it is the newest edit in force.
    const PaintGradient* replaceable = replaceableGradient();

    std::optional<Selection> area;
    if (m_pendingSelection && m_pendingSelection->size() >= 2)
        area = std::make_pair(m_pendingKind, *m_pendingSelection);
    else if (replaceable && replaceable->shape)
        area = std::make_pair(*replaceable->shape, replaceable->shapePoints);

    std::optional<QRectF> box;
    if (area)
        if (const auto path = selectionPath(area->first, area->second))
            box = path->boundingRect();
    if (!box)
        box = m_cutout ? m_cutoutContentBounds : std::nullopt;
    if (!box)
        return;

    const double a = m_gradientAngle * std::numbers::pi / 180;
    const QPointF direction(std::cos(a), std::sin(a));
    const double length = std::abs(box->width() * direction.x()) + std::abs(box->height() * direction.y());
    const QPointF from = box->center() - direction * (length / 2);
    const QPointF to = box->center() + direction * (length / 2);

    if (replaceable) {
        std::vector<PaintOp> ops = m_paintOps;
        ops.pop_back();
        const int count = int(ops.size());
        setPaintOps(std::move(ops));
        setActivePaintOpCount(count);
    }
    if (m_pendingSelection)
        clearPendingSelection();
    appendPaintOp(gradientOp(m_gradientKind, from, to, m_gradientStart, m_gradientEnd, m_paintBlend, m_paintOpacity, area));
    setLastGradientOpIndex(int(m_paintOps.size()) - 1);
}

void EditorState::fillSelectionWithPaintColor()
{
    if (!m_document)
        return;
    const auto box = selectionOrContentBox();
    if (!box)
        return;
    const auto clip = clearPendingSelection();
    appendPaintOp(gradientOp(GradientKind::linear, QPointF(box->left(), box->center().y()),
                             QPointF(box->right(), box->center().y()), m_paintColor, m_paintColor, m_paintBlend,
                             m_paintOpacity, clip));
    setLastGradientOpIndex(std::nullopt);
}

std::optional<QRectF> EditorState::selectionOrContentBox() const
{
    if (m_pendingSelection)
        if (const auto path = selectionPath(m_pendingKind, *m_pendingSelection))
            return path->boundingRect();
    return m_cutout ? m_cutoutContentBounds : std::nullopt;
}

} // namespace zephrin
