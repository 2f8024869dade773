#include "canvas/OverlayPainter.h"

#include "canvas/CanvasGestures.h"
#include "engine/edits/SelectionGeometry.h"
#include "model/editor/EditorState.h"
#include "model/qml/QmlValues.h"

#include <QPainter>
#include <QPainterPath>

namespace zephrin {

namespace {

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

// A pen in view points; the dash pattern given in points is counted in line widths.
QPen pen(const QColor& color, double width, std::initializer_list<double> dashPoints = {})
{
    QPen p(color, width);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    p.setMiterLimit(10);
    if (dashPoints.size() > 0) {
        QList<qreal> pattern;
        for (double length : dashPoints)
            pattern << length / width;
        p.setDashPattern(pattern);
    }
    return p;
}

// White under the accent's dashes: the look of every selection edge.
void strokeMarching(QPainter& painter, const QPainterPath& path, const QColor& accent)
{
    painter.strokePath(path, pen(Qt::white, 1.5));
    painter.strokePath(path, pen(accent, 1.5, {6, 4}));
}

QRectF centredSquare(QPointF centre, double side) { return {centre.x() - side / 2, centre.y() - side / 2, side, side}; }

// The path of a selection in the overlay's points: the box of the first and
// last point for the drag kinds, the polygon through the points otherwise.
QPainterPath shapePath(const OverlayInput& in, SelectionKind kind, const std::vector<QPointF>& points, bool closed)
{
    QPainterPath path;
    if (points.size() < 2)
        return path;
    if (!usesPoints(kind)) {
        const QRectF box = in.mapping.toLayer(QRectF(points.front(), points.back()).normalized());
        if (kind == SelectionKind::ellipse)
            path.addEllipse(box);
        else
            path.addRect(box);
        return path;
    }
    path.moveTo(in.mapping.toLayer(points.front()));
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(in.mapping.toLayer(points[i]));
    if (closed)
        path.closeSubpath();
    return path;
}

void drawHandle(QPainter& painter, QPointF centre, double side, const QColor& accent)
{
    const QRectF square = centredSquare(centre, side);
    painter.fillRect(square, Qt::white);
    painter.setPen(pen(accent, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(square);
}

void drawSelection(QPainter& painter, const OverlayInput& in, SelectionKind kind, const std::vector<QPointF>& points,
                   bool withHandles)
{
    if (points.size() < 2)
        return;
    const QPainterPath path = shapePath(in, kind, points, true);
    painter.fillPath(path, withAlpha(in.colors.accent, 0.18));
    strokeMarching(painter, path, in.colors.accent);
    if (!withHandles)
        return;
    const QRectF box = boundingRect(kind, points);
    if (usesPoints(kind)) {
        QPainterPath frame;
        frame.addRect(in.mapping.toLayer(box));
        painter.strokePath(frame, pen(withAlpha(Qt::white, 0.35), 1, {3, 3}));
    }
    for (const QPointF& handle : handlePoints(box))
        drawHandle(painter, in.mapping.toLayer(handle), 10, in.colors.accent);
}

void drawBrushStroke(QPainter& painter, const OverlayInput& in)
{
    QColor color;
    switch (in.tool) {
    case CanvasTool::erase:
        color = withAlpha(in.colors.erase, 0.55);
        break;
    case CanvasTool::restore:
        color = withAlpha(in.colors.success, 0.55);
        break;
    default:
        color = qml::color(in.paintColor);
        color.setAlphaF(float(color.alphaF() * in.paintOpacity * 0.7 / 100));
        break;
    }
    const double width = in.brushSize * in.mapping.documentScale();
    if (in.liveStroke.size() == 1) {
        // A dot of the brush's size and shape (what the caps of a zero-length line would make).
        const QRectF dot = centredSquare(in.mapping.toLayer(in.liveStroke.front()), width);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        if (in.brushTip == BrushTip::square)
            painter.drawRect(dot);
        else
            painter.drawEllipse(dot);
        return;
    }
    QPainterPath path(in.mapping.toLayer(in.liveStroke.front()));
    for (std::size_t i = 1; i < in.liveStroke.size(); ++i)
        path.lineTo(in.mapping.toLayer(in.liveStroke[i]));
    QPen stroke(color, width);
    stroke.setCapStyle(in.brushTip == BrushTip::square ? Qt::SquareCap : Qt::RoundCap);
    stroke.setJoinStyle(Qt::RoundJoin);
    painter.strokePath(path, stroke);
}

void drawOutlineInProgress(QPainter& painter, const OverlayInput& in)
{
    std::vector<QPointF> points = in.liveStroke;
    if (in.hoverPoint)
        points.push_back(*in.hoverPoint);  // the rubber band
    QPainterPath path(in.mapping.toLayer(points.front()));
    for (std::size_t i = 1; i < points.size(); ++i)
        path.lineTo(in.mapping.toLayer(points[i]));
    strokeMarching(painter, path, in.colors.accent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (const QPointF& p : in.liveStroke)
        painter.drawEllipse(centredSquare(in.mapping.toLayer(p), 7));
    const bool closable = in.liveStroke.size() >= 3;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen(closable ? in.colors.success : withAlpha(Qt::white, 0.6), 2));
    painter.drawEllipse(centredSquare(in.mapping.toLayer(in.liveStroke.front()), 16));
}

void drawCrop(QPainter& painter, const OverlayInput& in)
{
    const QRectF all(QPointF(0, 0), in.size);
    if (!in.cropDraft) {
        painter.fillRect(all, withAlpha(Qt::black, 0.25));
        return;
    }
    const QRectF r = in.mapping.toLayer(*in.cropDraft);
    QPainterPath outside;
    outside.setFillRule(Qt::OddEvenFill);
    outside.addRect(all);
    outside.addRect(r);
    painter.fillPath(outside, withAlpha(Qt::black, 0.45));
    QPainterPath edge;
    edge.addRect(r);
    painter.strokePath(edge, pen(Qt::white, 1.5));
    painter.setPen(pen(withAlpha(Qt::white, 0.35), 1));
    for (int i = 1; i <= 2; ++i) {
        const double x = r.left() + r.width() * i / 3;
        const double y = r.top() + r.height() * i / 3;
        painter.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        painter.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
    for (const QPointF& corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        drawHandle(painter, corner, 12, in.colors.accent);
}

void drawGradientLine(QPainter& painter, const OverlayInput& in)
{
    const QPointF a = in.mapping.toLayer(in.gradientLine->p1());
    const QPointF b = in.mapping.toLayer(in.gradientLine->p2());
    QPainterPath line(a);
    line.lineTo(b);
    painter.strokePath(line, pen(Qt::white, 2));
    painter.strokePath(line, pen(withAlpha(Qt::black, 0.6), 2, {6, 4}));
    painter.setPen(pen(Qt::white, 2));
    painter.setBrush(qml::color(in.gradientStart));
    painter.drawEllipse(centredSquare(a, 14));
    painter.setBrush(qml::color(in.gradientEnd));
    painter.drawEllipse(centredSquare(b, 14));
}

void drawPickerCross(QPainter& painter, const OverlayInput& in)
{
    const QPointF c = in.mapping.toLayer(*in.hoverPoint);
    painter.setPen(pen(Qt::white, 1.5));
    painter.drawLine(c - QPointF(10, 0), c + QPointF(10, 0));
    painter.drawLine(c - QPointF(0, 10), c + QPointF(0, 10));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen(withAlpha(Qt::black, 0.6), 1));
    painter.drawEllipse(centredSquare(c, 12));
}

void drawBrushCursor(QPainter& painter, const OverlayInput& in)
{
    const QRectF figure = centredSquare(in.mapping.toLayer(*in.hoverPoint), in.brushSize * in.mapping.documentScale());
    QPainterPath path;
    if (in.brushTip == BrushTip::square)
        path.addRect(figure);
    else
        path.addEllipse(figure);
    painter.strokePath(path, pen(withAlpha(Qt::white, 0.9), 1.5));
    painter.strokePath(path, pen(withAlpha(Qt::black, 0.5), 1.5, {4, 4}));
}

} // namespace

OverlayInput OverlayInput::from(const EditorState& editor, const ViewMapping& mapping, const OverlayColors& colors)
{
    OverlayInput in;
    in.tool = effectiveTool(editor);
    in.mapping = mapping;
    in.size = mapping.size;
    in.colors = colors;
    in.liveStroke = editor.liveStroke();
    in.paintColor = editor.paintColor();
    in.paintOpacity = editor.paintOpacity();
    in.brushSize = editor.brushSize();
    in.brushTip = editor.brushTip();
    in.pendingSelection = editor.pendingSelection();
    in.pendingKind = editor.pendingKind();
    in.selectionKind = editor.selectionKind();
    in.hoverPoint = editor.hoverPoint();
    in.gradientLine = editor.gradientLine();
    in.gradientStart = editor.gradientStart();
    in.gradientEnd = editor.gradientEnd();
    in.cropDraft = editor.cropDraft();
    return in;
}

void paintOverlay(QPainter& painter, const OverlayInput& in)
{
    if (in.tool == CanvasTool::view)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const bool brush = in.tool == CanvasTool::erase || in.tool == CanvasTool::restore || in.tool == CanvasTool::paint;
    const bool selection = in.tool == CanvasTool::select || in.tool == CanvasTool::gradient;

    if (brush && !in.liveStroke.empty())
        drawBrushStroke(painter, in);

    if (selection && in.pendingSelection) {
        drawSelection(painter, in, in.pendingKind, *in.pendingSelection, true);
    } else if (selection && !in.liveStroke.empty()) {
        if (in.selectionKind == SelectionKind::polygon)
            drawOutlineInProgress(painter, in);
        else if (in.liveStroke.size() >= 2)
            strokeMarching(painter, shapePath(in, in.selectionKind, in.liveStroke, false), in.colors.accent);
    } else if (!selection && in.pendingSelection) {
        drawSelection(painter, in, in.pendingKind, *in.pendingSelection, false);
    }

    if (in.tool == CanvasTool::crop)
        drawCrop(painter, in);
    else if (in.tool == CanvasTool::gradient && in.gradientLine)
        drawGradientLine(painter, in);
    else if (in.tool == CanvasTool::eyedropper && in.hoverPoint)
        drawPickerCross(painter, in);

    if (brush && in.hoverPoint)
        drawBrushCursor(painter, in);
    painter.restore();
}

} // namespace zephrin
