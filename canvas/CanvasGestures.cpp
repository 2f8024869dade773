#include "canvas/CanvasGestures.h"

#include "engine/composite/CanvasGeometry.h"
#include "engine/edits/SelectionGeometry.h"
#include "model/editor/EditorState.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

double length(QPointF v) { return std::hypot(v.x(), v.y()); }

} // namespace

CanvasTool effectiveTool(const EditorState& editor)
{
    return editor.spacePan() ? CanvasTool::pan : editor.canvasTool();
}

bool dragOutOffered(const EditorState& editor)
{
    return effectiveTool(editor) == CanvasTool::view && editor.tool() != EditorTool::text;
}

void CanvasGestures::press(QPointF region, const ViewMapping& mapping)
{
    reset();
    const CanvasTool tool = effectiveTool(m_editor);
    if (tool == CanvasTool::view || !mapping.imageRect().contains(region))
        return;
    m_tool = tool;
    m_startRegion = region;
    m_start = mapping.toDocument(region);
    changed(region, mapping);
}

void CanvasGestures::move(QPointF region, const ViewMapping& mapping)
{
    if (m_tool && !m_ignoring)
        changed(region, mapping);
}

void CanvasGestures::changed(QPointF region, const ViewMapping& mapping)
{
    m_farthest = std::max(m_farthest, length(region - m_startRegion));
    const QPointF current = mapping.toDocument(region);
    switch (*m_tool) {
    case CanvasTool::view:
        break;
    case CanvasTool::pan: {
        if (!m_begun)
            m_panStart = m_editor.panOffset();
        const QPointF moved = region - m_startRegion;
        m_editor.setPanOffset(m_panStart + QSizeF(moved.x(), moved.y()));
        break;
    }
    case CanvasTool::erase:
    case CanvasTool::restore:
    case CanvasTool::paint: {
        EditorState::Points stroke = m_begun ? m_editor.liveStroke() : EditorState::Points{};
        stroke.push_back(current);
        m_editor.setLiveStroke(std::move(stroke));
        break;
    }
    case CanvasTool::select:
    case CanvasTool::gradient:
        if (!m_begun)
            beginSelection(m_start, mapping);
        changeSelection(m_start, current);
        break;
    case CanvasTool::crop:
        if (!m_begun)
            beginCrop(m_start, mapping);
        m_editor.setCropDraft(
            croppedBox(m_cropDrag, m_handle, m_cropStartRect, m_start, current, aspectRatio(m_editor.cropAspect())));
        break;
    case CanvasTool::eyedropper:
        break;
    }
    m_begun = true;
}

void CanvasGestures::beginSelection(QPointF start, const ViewMapping& mapping)
{
    const auto& pending = m_editor.pendingSelection();
    const SelectionKind kind = m_editor.pendingKind();
    m_selStartPoints = pending.value_or(EditorState::Points{});
    m_selStartBox = boundingRect(kind, m_selStartPoints);
    m_selDrag = SelectionDrag::create;
    if (pending) {
        const double radius = kHandleRadius / mapping.documentScale();
        const auto handles = handlePoints(m_selStartBox);
        for (int i = 0; i < int(handles.size()); ++i)
            if (length(handles[std::size_t(i)] - start) <= radius) {
                m_selDrag = SelectionDrag::handle;
                m_handle = i;
                break;
            }
        if (m_selDrag == SelectionDrag::create) {
            std::optional<QPainterPath> path = selectionPath(kind, *pending);
            if (path)
                path->setFillRule(Qt::WindingFill);
            if (path && path->contains(start))
                m_selDrag = SelectionDrag::move;
            else if (m_tool == CanvasTool::gradient)
                m_selDrag = SelectionDrag::line;
        }
    }
    if (m_selDrag == SelectionDrag::create && m_editor.selectionKind() != SelectionKind::polygon && pending)
        m_editor.setPendingSelection(std::nullopt);
}

void CanvasGestures::changeSelection(QPointF start, QPointF current)
{
    const QPointF delta = current - start;
    switch (m_selDrag) {
    case SelectionDrag::none:
        break;
    case SelectionDrag::create:
        switch (m_editor.selectionKind()) {
        case SelectionKind::rectangle:
        case SelectionKind::ellipse:
            m_editor.setLiveStroke({start, current});
            break;
        case SelectionKind::lasso: {
            EditorState::Points stroke = m_begun ? m_editor.liveStroke() : EditorState::Points{};
            stroke.push_back(current);
            m_editor.setLiveStroke(std::move(stroke));
            break;
        }
        case SelectionKind::polygon:
            break;
        }
        break;
    case SelectionDrag::move:
        m_editor.setPendingSelection(offsetPoints(m_selStartPoints, delta));
        break;
    case SelectionDrag::line:
        m_editor.setGradientLine(QLineF(start, current));
        break;
    case SelectionDrag::handle: {
        const QRectF box = reshapedBox(m_selStartBox, m_handle, delta);
        if (!usesPoints(m_editor.pendingKind())) {
            m_editor.setPendingSelection(EditorState::Points{box.topLeft(), box.bottomRight()});
            break;
        }
        const QRectF& from = m_selStartBox;
        const double sx = from.width() > 0 ? box.width() / from.width() : 1;
        const double sy = from.height() > 0 ? box.height() / from.height() : 1;
        EditorState::Points points;
        points.reserve(m_selStartPoints.size());
        for (const QPointF& p : m_selStartPoints)
            points.emplace_back(box.left() + sx * (p.x() - from.left()), box.top() + sy * (p.y() - from.top()));
        m_editor.setPendingSelection(std::move(points));
        break;
    }
    }
}

void CanvasGestures::beginCrop(QPointF start, const ViewMapping& mapping)
{
    const std::optional<QRectF> draft = m_editor.cropDraft();
    m_cropStartRect = draft.value_or(QRectF());
    m_cropDrag = CropDrag::create;
    if (!draft)
        return;
    const double radius = kHandleRadius / mapping.documentScale();
    const QPointF corners[] = {draft->topLeft(), draft->topRight(), draft->bottomLeft(), draft->bottomRight()};
    for (int i = 0; i < 4; ++i)
        if (length(corners[i] - start) <= radius) {
            m_cropDrag = CropDrag::corner;
            m_handle = i;
            return;
        }
    if (draft->contains(start))
        m_cropDrag = CropDrag::move;
}

void CanvasGestures::release(QPointF region, const ViewMapping& mapping)
{
    if (!m_tool || m_ignoring) {
        reset();
        return;
    }
    const QPointF current = mapping.toDocument(region);
    const double spanned = length(region - m_startRegion);
    const bool click = std::max(m_farthest, spanned) < kClickDistance;
    switch (*m_tool) {
    case CanvasTool::view:
    case CanvasTool::pan:
    case CanvasTool::crop:
        break;
    case CanvasTool::erase:
    case CanvasTool::restore: {
        const EditorState::Points stroke = m_editor.liveStroke();  // a copy: the commit empties the stroke first
        m_editor.commitMaskStroke(stroke);
        break;
    }
    case CanvasTool::paint: {
        const EditorState::Points stroke = m_editor.liveStroke();
        m_editor.commitPaintStroke(stroke);
        break;
    }
    case CanvasTool::select:
    case CanvasTool::gradient:
        endSelection(current, spanned, click);
        break;
    case CanvasTool::eyedropper:
        m_editor.pickColor(current);
        break;
    }
    reset();
}

void CanvasGestures::endSelection(QPointF current, double spanned, bool click)
{
    switch (m_selDrag) {
    case SelectionDrag::create:
        if (m_editor.selectionKind() != SelectionKind::polygon) {
            // A box spans press and release, so one that ends by its start is
            // empty; a lasso is its whole path.
            const bool boxed = !usesPoints(m_editor.selectionKind());
            if (m_editor.liveStroke().size() >= 2 && !(boxed ? spanned < kClickDistance : click))
                m_editor.finishSelection(EditorState::Points(m_editor.liveStroke()));
            // What encloses nothing is not left on the canvas for the next drag.
            m_editor.setLiveStroke({});
        } else if (click) {
            if (m_editor.pendingSelection())
                m_editor.setPendingSelection(std::nullopt);
            const bool fresh = m_editor.liveStroke().empty();
            m_editor.addPolygonPoint(current);
            m_outlineStartedByClick = fresh && m_editor.liveStroke().size() == 1;
        }
        break;
    case SelectionDrag::line:
        if (const auto line = m_editor.gradientLine())
            m_editor.applyGradient(line->p1(), line->p2());
        m_editor.setGradientLine(std::nullopt);
        break;
    case SelectionDrag::none:
    case SelectionDrag::move:
    case SelectionDrag::handle:
        break;
    }
}

void CanvasGestures::doubleClick()
{
    if (m_editor.isPolygonInProgress() && m_outlineStartedByClick && m_editor.liveStroke().size() == 1)
        m_editor.setLiveStroke({});
    if (m_editor.isPolygonInProgress())
        m_editor.closePolygon();
    else
        m_editor.togglePanTool();
    m_outlineStartedByClick = false;
    cancel();
}

void CanvasGestures::hover(std::optional<QPointF> region, const ViewMapping& mapping)
{
    if (region && mapping.imageRect().contains(*region))
        m_editor.setHoverPoint(mapping.toDocument(*region));
    else
        m_editor.setHoverPoint(std::nullopt);
}

bool CanvasGestures::cancel()
{
    if (!m_tool || m_ignoring)
        return false;
    switch (*m_tool) {
    case CanvasTool::pan:
        if (m_begun)
            m_editor.setPanOffset(m_panStart);
        break;
    case CanvasTool::erase:
    case CanvasTool::restore:
    case CanvasTool::paint:
        m_editor.setLiveStroke({});
        break;
    case CanvasTool::select:
    case CanvasTool::gradient:
        if (m_selDrag == SelectionDrag::create)
            m_editor.setLiveStroke({});
        m_editor.setGradientLine(std::nullopt);
        break;
    case CanvasTool::view:
    case CanvasTool::crop:
    case CanvasTool::eyedropper:
        break;
    }
    m_ignoring = true;
    m_selDrag = SelectionDrag::none;
    m_cropDrag = CropDrag::none;
    return true;
}

void CanvasGestures::reset()
{
    m_tool.reset();
    m_ignoring = false;
    m_begun = false;
    m_farthest = 0;
    m_selDrag = SelectionDrag::none;
    m_cropDrag = CropDrag::none;
    m_handle = -1;
    m_selStartPoints.clear();
}

QRectF CanvasGestures::reshapedBox(const QRectF& start, int handle, QPointF delta)
{
    double left = start.left(), top = start.top(), right = start.right(), bottom = start.bottom();
    const bool movesLeft = handle == 0 || handle == 6 || handle == 7;
    const bool movesRight = handle == 2 || handle == 3 || handle == 4;
    const bool movesTop = handle == 0 || handle == 1 || handle == 2;
    const bool movesBottom = handle == 4 || handle == 5 || handle == 6;
    if (movesLeft)
        left += delta.x();
    if (movesRight)
        right += delta.x();
    if (movesTop)
        top += delta.y();
    if (movesBottom)
        bottom += delta.y();
    QRectF box = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    box.setWidth(std::max(box.width(), kMinimumBox));
    box.setHeight(std::max(box.height(), kMinimumBox));
    return box;
}

QRectF CanvasGestures::croppedBox(CropDrag mode, int corner, const QRectF& start, QPointF from, QPointF to,
                                  std::optional<double> ratio)
{
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    const double x = start.x(), y = start.y(), w = start.width(), h = start.height();
    QRectF box;
    switch (mode) {
    case CropDrag::none:
        return start;
    case CropDrag::move:
        return start.translated(dx, dy);
    case CropDrag::create:
        box = QRectF(std::min(from.x(), to.x()), std::min(from.y(), to.y()), std::abs(dx), std::abs(dy));
        break;
    case CropDrag::corner:
        switch (corner) {
        case 0:
            box = QRectF(x + dx, y + dy, w - dx, h - dy);
            break;
        case 1:
            box = QRectF(x, y + dy, w + dx, h - dy);
            break;
        case 2:
            box = QRectF(x + dx, y, w - dx, h + dy);
            break;
        default:
            box = QRectF(x, y, w + dx, h + dy);
            break;
        }
        box = box.normalized();
        break;
    }
    if (ratio && box.width() > 0)
        box.setHeight(box.width() / *ratio);
    return box;
}

} // namespace zephrin
