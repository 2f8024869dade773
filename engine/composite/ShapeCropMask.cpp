// MatteEngine: the mask of the circle and rounded-rectangle crops.

#include "engine/matte/MatteEngine.h"

#include "engine/composite/CanvasGeometry.h"
#include "engine/pixel/QImageView.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace zephrin {

Matte MatteEngine::shapeCropMask(const QRectF& rect, double radius)
{
    const cv::Rect area = integralRect(rect);
    Matte mask = Matte::filled(area.size(), 0, area.tl());
    if (area.empty())
        return mask;
    const double corner = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / 2);
    if (!(corner > 0)) {
        mask.pixels.setTo(255);
        return mask;
    }
    // An alpha-only bitmap over the matte's own buffer: what the painter covers
    // becomes white.
    QImage target = paintableView(mask.pixels, QImage::Format_Alpha8);
    QPainter painter(&target);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(rect.translated(-area.x, -area.y), corner, corner);
    painter.fillPath(shape, Qt::white);
    return mask;
}

} // namespace zephrin
