#pragma once
// Fitting closed outlines with cubic Bezier segments: split at corners, then
// least-squares cubics with Newton reparameterisation and recursive splitting
// where one cubic does not fit.

#include "output/vector/TraceResult.h"

#include <span>
#include <vector>

namespace zephrin::tracing {

// Point i of a closed polygon is a corner when the outline turns by more than
// 58 degrees there: the dot product of its unit incoming and outgoing
// directions is below cos 58 degrees.
inline constexpr double kCornerCosine = 0.5299192642332049;

// Fits a closed polygon (at least 3 points) with cubic segments that end where
// the next begins. Without a corner the polygon becomes one smooth closed curve
// starting at p0. Otherwise the pieces between consecutive corners are fitted
// one by one (a piece of two points becomes a straight segment), so corners stay
// sharp. `maxError` bounds the squared distance between the curve and the
// points it stands for, and that of the curve from the polyline through them
// (sampled between each two points), so no curve bulges away from the run.
std::vector<CubicSegment> fitContour(const std::vector<Pt>& points, double maxError);

// Fits the open run of points with cubics from its first to its last point.
// `startTangent` is the unit direction leaving the first point; `endTangent`
// the unit direction from the last point back into the curve. Appends the
// segments to `out`. Cost: O(n) per attempt, O(n log n) over the splits of a
// typical run.
void fitCubic(std::span<const Pt> points, Pt startTangent, Pt endTangent, double maxError,
              std::vector<CubicSegment>& out);

} // namespace zephrin::tracing
