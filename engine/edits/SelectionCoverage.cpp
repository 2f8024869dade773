#include "engine/edits/SelectionCoverage.h"
#include "engine/pixel/QImageView.h"

#include <QPainter>

#include <cmath>

namespace zephrin {

Matte selectionCoverage(const QPainterPath& path, cv::Rect area)
{
    const QRectF bounds = path.boundingRect();
    cv::Rect box = area;
    if (std::isfinite(bounds.left()) && std::isfinite(bounds.top()) && std::isfinite(bounds.right())
        && std::isfinite(bounds.bottom())) {
        const double left = std::max(std::floor(bounds.left()), double(area.x));
        const double top = std::max(std::floor(bounds.top()), double(area.y));
        const double right = std::min(std::ceil(bounds.right()), double(area.x + area.width));
        const double bottom = std::min(std::ceil(bounds.bottom()), double(area.y + area.height));
        box = left < right && top < bottom
                  ? cv::Rect(int(left), int(top), int(right - left), int(bottom - top))
                  : cv::Rect(area.x, area.y, 0, 0);
    }
    cv::Mat coverage(box.size(), CV_8UC1, cv::Scalar(0));
    if (box.empty())
        return Matte(coverage, box.tl());

    // Painted white onto black: the grey level is the coverage.
    QImage canvas = paintableView(coverage, QImage::Format_Grayscale8);
    QPainterPath winding = path;
    winding.setFillRule(Qt::WindingFill);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(-box.x, -box.y);
    painter.fillPath(winding, Qt::white);
    painter.end();
    return Matte(coverage, box.tl());
}

} // namespace zephrin
