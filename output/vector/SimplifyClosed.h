#pragma once
// Douglas-Peucker simplification of outlines.

#include "output/vector/TraceResult.h"

#include <vector>

namespace zephrin::tracing {

// Simplifies a closed polygon: splits it at p0 and the point farthest from p0
// (the first one on ties) and simplifies both halves as open polylines, so p0
// and that point always stay. An open polyline keeps its ends and, recursively,
// the point farthest from the chord of its part (the first on ties) when that
// distance exceeds `tolerance` strictly; a chord shorter than 1e-12 measures
// distances to its first point instead. Polygons of fewer than 5 points are
// returned unchanged. Points keep their order; none is moved.
//
// Cost: O(n log n) for well-spread outlines, O(n^2) at worst.
std::vector<Pt> simplifyClosed(const std::vector<Pt>& loop, double tolerance);

} // namespace zephrin::tracing
