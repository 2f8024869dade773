#pragma once
// Where a brush stroke puts its dabs. Shared by the mask edits and the paint
// layers, so that erasing and painting along one path leave the same marks.
// Points are image space (origin top-left, y down), in source pixels.

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

namespace zephrin {

// Half the brush diameter, at least half a pixel (so is a NaN size).
double brushRadius(double size);

// Dabs are 18 % of the radius apart, at least half a pixel: dense enough for a
// continuous line at any size without one dab per pixel.
double dabSpacing(double radius);

// The dab centres along a polyline: the first point, then one every `spacing`
// of path length. The distance walked since the last dab carries over from one
// segment to the next, and segments of length 0 are skipped, so a polyline
// drawn in pieces gets the dabs of one line. A single point gives one dab.
// With `within`, only the centres inside it are returned, and segments far
// outside cost nothing: a stroke that wanders off the image stays cheap.
// Non-finite points are dropped.
std::vector<QPointF> dabCentres(const std::vector<QPointF>& points, double spacing,
                                const std::optional<QRectF>& within = std::nullopt);

} // namespace zephrin
