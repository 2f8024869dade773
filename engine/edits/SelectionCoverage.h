#pragma once
// How much of each pixel a selection covers, with antialiased edges: what a
// shape edit erases and what a paint clip lets through.
//
// Path (image space, filled with the non-zero winding rule, so a
// self-intersecting lasso covers every region it winds around) in; a Matte over
// `area` ∩ the path's bounds out (origin at that box), 255 where a pixel lies
// wholly inside, a share where the edge crosses it, 0 outside; outside its
// extent the matte is black like every matte. The part outside the selection
// is exactly 255 minus this, pixel for pixel.
// Cost: one QPainter fill of the path's box.

#include "engine/pixel/Image.h"

#include <QPainterPath>

namespace zephrin {

Matte selectionCoverage(const QPainterPath& path, cv::Rect area);

} // namespace zephrin
