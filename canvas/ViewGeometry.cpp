#include "canvas/ViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

QSizeF displayedSize(QSizeF container, QSizeF image, double zoom)
{
    if (!(image.width() > 0) || !(image.height() > 0))
        return {0, 0};
    const double availableW = std::max(container.width() - 2 * kCanvasMargin, 1.0);
    const double availableH = std::max(container.height() - 2 * kCanvasMargin, 1.0);
    const double aspect = image.width() / image.height();
    QSizeF fitted = availableH < availableW / aspect ? QSizeF(aspect * availableH, availableH)
                                                       : QSizeF(availableW, availableW / aspect);
    return fitted * zoom;
}

ViewMapping viewMapping(QSizeF container, QSizeF image, double zoom, QSizeF pan, const CompositeFrame& frame)
{
    ViewMapping m;
    m.size = displayedSize(container, image, zoom);
    m.origin = QPointF((container.width() - m.size.width()) / 2 + pan.width(),
                       (container.height() - m.size.height()) / 2 + pan.height());
    m.scale = image.width() > 0 && m.size.width() > 0 ? m.size.width() / image.width() : 1;
    m.frame = frame;
    return m;
}

QRectF documentRect(const ViewMapping& mapping, QSizeF document)
{
    return QRectF(mapping.toRegion(QPointF(0, 0)), mapping.toRegion(QPointF(document.width(), document.height())))
        .normalized();
}

double pinchZoom(double startZoom, double magnification)
{
    return std::clamp(startZoom * magnification, kMinCanvasZoom, kMaxCanvasZoom);
}

ZoomAndPan zoomAbout(QPointF point, double factor, QSizeF container, QSizeF image, double zoom, QSizeF pan)
{
    const QSizeF shown = displayedSize(container, image, zoom);
    if (shown.isEmpty() || !(zoom > 0))
        return {zoom, pan};
    const double s = shown.width() / image.width();
    const double z = std::clamp(factor * zoom, kMinCanvasZoom, kMaxCanvasZoom);
    const QSizeF next = shown * (z / zoom);
    const double s2 = next.width() / image.width();
    // The image point under the pointer before the change.
    const double qx = (point.x() - ((container.width() - shown.width()) / 2 + pan.width())) / s;
    const double qy = (point.y() - ((container.height() - shown.height()) / 2 + pan.height())) / s;
    return {z, QSizeF(point.x() - qx * s2 - (container.width() - next.width()) / 2,
                      point.y() - qy * s2 - (container.height() - next.height()) / 2)};
}

std::optional<double> scrollZoomFactor(double deltaY, bool precise)
{
    const double d = precise ? deltaY / 60 : deltaY / 10;
    if (!(std::abs(d) > 0.0001))
        return std::nullopt;
    return d * 0.6 + 1;
}

std::optional<double> comparePosition(double x, double width)
{
    if (!(width > 0) || !std::isfinite(x))
        return std::nullopt;
    return std::clamp(x / width, 0.02, 0.98);
}

} // namespace zephrin
