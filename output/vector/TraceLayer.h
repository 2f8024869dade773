#pragma once
// One mask to its closed cubic outlines: boundary loops, filtered, simplified
// and fitted.

#include "output/vector/TraceMask.h"
#include "output/vector/TraceResult.h"

#include <vector>

namespace zephrin::tracing {

// Tolerances derived from the detail setting (0 to 1).
struct TraceTolerance {
    double simplify;     // Douglas-Peucker distance in pixels: 0.35 at detail 1, 2.2 at detail 0
    double fitSquared;   // largest squared distance a fitted cubic may leave: 1.5 * simplify^2

    static TraceTolerance forDetail(double detail);
};

// Each boundary loop of the mask, in the order found, becomes one contour
// unless it encloses less than `minimumArea` square pixels, is a sliver (area
// over perimeter below 0.75: one pixel thin or less), or simplifies to fewer
// than 3 points. Cost: linear in the mask for the loops, then in their corners.
std::vector<TracedContour> traceLayer(const TraceMask& mask, double detail, double minimumArea);

} // namespace zephrin::tracing
