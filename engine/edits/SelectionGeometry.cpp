#include "engine/edits/SelectionGeometry.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace zephrin {

namespace {

// The rectangle a drag kind spans from its first to its last point.
QRectF dragRect(const std::vector<QPointF>& points)
{
    return QRectF(points.front(), points.back()).normalized();
}

} // namespace

std::optional<QPainterPath> selectionPath(SelectionKind kind, const std::vector<QPointF>& points)
{
    QPainterPath path;
    if (usesPoints(kind)) {
        if (points.size() < 3)
            return std::nullopt;
        path.moveTo(points.front());
        for (auto point = points.begin() + 1; point != points.end(); ++point)
            path.lineTo(*point);
        path.closeSubpath();
        return path;
    }
    if (points.size() < 2)
        return std::nullopt;
    if (kind == SelectionKind::rectangle)
        path.addRect(dragRect(points));
    else
        path.addEllipse(dragRect(points));
    return path;
}

std::vector<std::uint8_t> rasterizeMask(const QPainterPath& path, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    std::vector<std::uint8_t> mask(static_cast<size_t>(width) * height, 0);

    // Aliased filling covers exactly the pixels whose centre lies inside.
    QImage canvas(width, height, QImage::Format_Grayscale8);
    if (canvas.isNull())
        return mask;
    canvas.fill(0);
    QPainterPath winding = path;
    winding.setFillRule(Qt::WindingFill);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillPath(winding, Qt::white);
    }
    for (int y = 0; y < height; ++y) {
        const uchar* row = canvas.constScanLine(y);
        std::uint8_t* out = mask.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = row[x] >> 7;
    }
    return mask;
}

QRectF boundingRect(SelectionKind kind, const std::vector<QPointF>& points)
{
    if (points.empty())
        return {};
    if (!usesPoints(kind) && points.size() >= 2)
        return dragRect(points);
    const auto [left, right] = std::minmax_element(points.begin(), points.end(),
                                                   [](QPointF a, QPointF b) { return a.x() < b.x(); });
    const auto [top, bottom] = std::minmax_element(points.begin(), points.end(),
                                                   [](QPointF a, QPointF b) { return a.y() < b.y(); });
    return QRectF(QPointF(left->x(), top->y()), QPointF(right->x(), bottom->y()));
}

std::array<QPointF, 8> handlePoints(const QRectF& rect)
{
    const double midX = rect.left() + rect.width() / 2;
    const double midY = rect.top() + rect.height() / 2;
    return {{
        {rect.left(), rect.top()},
        {midX, rect.top()},
        {rect.right(), rect.top()},
        {rect.right(), midY},
        {rect.right(), rect.bottom()},
        {midX, rect.bottom()},
        {rect.left(), rect.bottom()},
        {rect.left(), midY},
    }};
}

std::vector<QPointF> offsetPoints(const std::vector<QPointF>& points, QPointF offset)
{
    std::vector<QPointF> moved;
    moved.reserve(points.size());
    for (QPointF point : points)
        moved.push_back(point + offset);
    return moved;
}

} // namespace zephrin
