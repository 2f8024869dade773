#include "engine/paint/PaintClip.h"

#include "engine/edits/SelectionCoverage.h"
#include "engine/edits/SelectionGeometry.h"

namespace zephrin {

PaintClip PaintClip::of(const std::optional<SelectionKind>& shape, const std::vector<QPointF>& points, cv::Size canvas)
{
    if (!shape)
        return {};
    const auto path = selectionPath(*shape, points);
    if (!path)
        return {};
    return {selectionCoverage(*path, cv::Rect({0, 0}, canvas))};
}

cv::Rect PaintClip::area(cv::Size canvas) const
{
    const cv::Rect whole({0, 0}, canvas);
    return coverage ? (coverage->extent() & whole) : whole;
}

const uchar* PaintClip::row(int y, int x) const
{
    if (!coverage)
        return nullptr;
    return coverage->pixels.ptr(y - coverage->origin.y) + (x - coverage->origin.x);
}

} // namespace zephrin
