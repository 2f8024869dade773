#include "engine/edits/StrokeCoverage.h"

#include "engine/edits/BrushDabs.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

// Bands of at least this many rows keep the per-band visit of every dab cheap.
constexpr int kMinBandRows = 16;

// The pixels of `area` a dab can touch: those overlapping the box of side 2r.
// Worked out in floating point first, so that a huge radius cannot overflow.
cv::Rect dabBox(QPointF centre, double radius, cv::Rect area)
{
    const double left = std::max(std::floor(centre.x() - radius), double(area.x));
    const double top = std::max(std::floor(centre.y() - radius), double(area.y));
    const double right = std::min(std::ceil(centre.x() + radius), double(area.x + area.width));
    const double bottom = std::min(std::ceil(centre.y() + radius), double(area.y + area.height));
    if (!(left < right && top < bottom))
        return {};
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

// 1D overlap of the pixel [p, p + 1] with [low, high], 0 to 1.
float overlap(int p, double low, double high)
{
    return float(std::clamp(std::min(p + 1.0, high) - std::max(double(p), low), 0.0, 1.0));
}

// Multiplies the remaining transparency in `remaining` (CV_32F, image-space
// origin `at`) by (1 − a) over the pixels of `box` the dab of radius r covers.
void stampDab(cv::Mat& remaining, cv::Point at, cv::Rect box, QPointF centre, const Brush& brush, double r)
{
    if (brush.tip == BrushTip::square) {
        for (int y = box.y; y < box.y + box.height; ++y) {
            const float oy = overlap(y, centre.y() - r, centre.y() + r);
            float* row = remaining.ptr<float>(y - at.y);
            for (int x = box.x; x < box.x + box.width; ++x)
                row[x - at.x] *= 1 - oy * overlap(x, centre.x() - r, centre.x() + r);
        }
        return;
    }
    const double solid = std::clamp(brush.hardness, 0.0, 1.0) * r;
    const double solid2 = solid * solid;
    const double r2 = r * r;
    const double fade = r - solid;
    for (int y = box.y; y < box.y + box.height; ++y) {
        const double dy = y + 0.5 - centre.y();
        float* row = remaining.ptr<float>(y - at.y);
        for (int x = box.x; x < box.x + box.width; ++x) {
            const double dx = x + 0.5 - centre.x();
            const double d2 = dx * dx + dy * dy;
            if (d2 >= r2 && !(d2 <= solid2))
                continue;
            const double a = d2 <= solid2 ? 1.0 : (r - std::sqrt(d2)) / fade;
            row[x - at.x] *= float(1 - a);
        }
    }
}

} // namespace

void renderStrokeCoverage(const Brush& brush, const std::vector<QPointF>& points, cv::Rect area,
                          const StrokeBandSink& sink)
{
    if (points.empty() || area.empty())
        return;
    const double radius = brushRadius(brush.size);
    // Dabs whose centre lies farther out than their radius cannot touch `area`.
    const QRectF near = QRectF(area.x, area.y, area.width, area.height)
                            .adjusted(-radius - 1, -radius - 1, radius + 1, radius + 1);
    const std::vector<QPointF> centres = dabCentres(points, dabSpacing(radius), near);
    std::vector<cv::Rect> boxes;
    boxes.reserve(centres.size());
    cv::Rect reach;
    for (QPointF centre : centres) {
        const cv::Rect box = dabBox(centre, radius, area);
        boxes.push_back(box);
        if (!box.empty())
            reach = reach.empty() ? box : (reach | box);
    }
    if (reach.empty())
        return;

    const int threads = std::max(1, cv::getNumThreads());
    const int bandRows = std::max(kMinBandRows, reach.height / (4 * threads) + 1);
    const int bands = (reach.height + bandRows - 1) / bandRows;
    cv::parallel_for_(cv::Range(0, bands), [&](const cv::Range& range) {
        for (int b = range.start; b < range.end; ++b) {
            const int top = reach.y + b * bandRows;
            const cv::Rect band(reach.x, top, reach.width, std::min(bandRows, reach.y + reach.height - top));
            cv::Mat remaining(band.size(), CV_32FC1, cv::Scalar(1));
            for (size_t i = 0; i < centres.size(); ++i) {
                const cv::Rect box = boxes[i] & band;
                if (!box.empty())
                    stampDab(remaining, band.tl(), box, centres[i], brush, radius);
            }
            cv::subtract(1.0, remaining, remaining);
            sink(band, remaining);
        }
    });
}

} // namespace zephrin
