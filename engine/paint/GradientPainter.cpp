#include "engine/paint/GradientPainter.h"

#include "engine/paint/PaintOver.h"
#include "engine/pixel/ParallelRows.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

void paintGradient(Image& layer, const PaintGradient& gradient, const PaintClip& clip)
{
    const cv::Rect area = clip.area(layer.size());
    const float opacity = float(std::clamp(gradient.opacity, 0.0, 1.0));
    if (area.empty() || !(opacity > 0))
        return;
    const QPointF axis = gradient.to - gradient.from;
    const double axis2 = axis.x() * axis.x() + axis.y() * axis.y();
    const bool radial = gradient.kind == GradientKind::radial;
    if (!radial && !(axis2 > 0))
        return;
    if (!std::isfinite(axis2) || !std::isfinite(gradient.from.x()) || !std::isfinite(gradient.from.y()))
        return;
    const double radius = std::max(1.0, std::sqrt(axis2));
    const auto start = detail::paintComponents(gradient.start);
    const auto end = detail::paintComponents(gradient.end);

    const auto position = [&](double x, double y) {
        const double dx = x - gradient.from.x();
        const double dy = y - gradient.from.y();
        const double t = radial ? std::sqrt(dx * dx + dy * dy) / radius : (dx * axis.x() + dy * axis.y()) / axis2;
        return float(std::clamp(t, 0.0, 1.0));
    };

    parallelRows(area.height, area.width, [&](int firstRow, int endRow) {
        for (int row = firstRow; row < endRow; ++row) {
            const int y = area.y + row;
            uchar* pixel = layer.pixels.ptr(y) + 4 * area.x;
            const uchar* k = clip.row(y, area.x);
            for (int i = 0; i < area.width; ++i, pixel += 4) {
                const float cover = k ? float(k[i]) / 255 : 1.0f;
                if (!(cover > 0))
                    continue;
                const float t = position(area.x + i + 0.5, y + 0.5);
                float colour[4];
                for (int c = 0; c < 4; ++c)
                    colour[c] = start[c] + (end[c] - start[c]) * t;
                const float alpha = colour[3] * opacity * cover;
                if (alpha > 0)
                    detail::paintOver(pixel, colour, alpha);
            }
        }
    });
}

} // namespace zephrin
