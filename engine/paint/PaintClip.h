#pragma once
// The selection that confines one paint operation, as antialiased coverage.

#include "engine/edits/SelectionKind.h"
#include "engine/pixel/Image.h"

#include <QPointF>

#include <optional>
#include <vector>

namespace zephrin {

struct PaintClip {
    // Coverage (255 = fully inside) over the selection's box within the
    // canvas; none: unconfined.
    std::optional<Matte> coverage;

    // The clip of a selection; unconfined when there is no selection or it
    // forms no path.
    static PaintClip of(const std::optional<SelectionKind>& shape, const std::vector<QPointF>& points,
                        cv::Size canvas);

    // The part of the canvas paint can reach.
    cv::Rect area(cv::Size canvas) const;
    // The coverage bytes of image row y from image column x on, or null when
    // unconfined. (x, y) must lie within area().
    const uchar* row(int y, int x) const;
};

} // namespace zephrin
