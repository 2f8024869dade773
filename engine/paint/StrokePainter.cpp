#include "engine/paint/StrokePainter.h"

#include "engine/edits/StrokeCoverage.h"
#include "engine/paint/PaintOver.h"

#include <algorithm>

namespace zephrin {

void paintStroke(Image& layer, const PaintStroke& stroke, const PaintClip& clip)
{
    const cv::Rect area = clip.area(layer.size());
    const float opacity = float(std::clamp(stroke.opacity, 0.0, 1.0));
    if (stroke.points.empty() || area.empty() || !(opacity > 0))
        return;
    const auto colour = detail::paintComponents(stroke.color);
    // The colour's own alpha scales the merged stroke, so dabs never build up past it.
    const float strength = opacity * colour[3];
    renderStrokeCoverage(Brush{stroke.tip, stroke.size, stroke.hardness}, stroke.points, area,
                         [&](cv::Rect band, const cv::Mat& coverage) {
                             for (int y = 0; y < band.height; ++y) {
                                 uchar* pixel = layer.pixels.ptr(band.y + y) + 4 * band.x;
                                 const float* a = coverage.ptr<float>(y);
                                 const uchar* k = clip.row(band.y + y, band.x);
                                 for (int x = 0; x < band.width; ++x, pixel += 4) {
                                     const float alpha = a[x] * strength * (k ? float(k[x]) / 255 : 1.0f);
                                     if (alpha > 0)
                                         detail::paintOver(pixel, colour.data(), alpha);
                                 }
                             }
                         });
}

} // namespace zephrin
