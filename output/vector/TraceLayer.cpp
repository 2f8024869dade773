#include "output/vector/TraceLayer.h"

#include "output/vector/BoundaryLoops.h"
#include "output/vector/CurveFitting.h"
#include "output/vector/PointMath.h"
#include "output/vector/SimplifyClosed.h"

#include <cmath>
#include <cstddef>

namespace zephrin::tracing {

namespace {

// The enclosed area by the shoelace formula, orientation ignored.
double enclosedArea(const std::vector<Pt>& loop)
{
    double twice = 0;
    for (std::size_t i = 0; i < loop.size(); ++i)
        twice += cross(loop[i], loop[(i + 1) % loop.size()]);
    return std::abs(0.5 * twice);
}

double perimeter(const std::vector<Pt>& loop)
{
    double total = 0;
    for (std::size_t i = 0; i < loop.size(); ++i)
        total += distance(loop[i], loop[(i + 1) % loop.size()]);
    return total;
}

constexpr double kSliverRatio = 0.75;

bool isSliver(double area, double perimeter)
{
    return perimeter >= 1 ? area / perimeter < kSliverRatio : area < kSliverRatio;
}

} // namespace

TraceTolerance TraceTolerance::forDetail(double detail)
{
    const double simplify = (1 - detail) * 1.85 + 0.35;
    return {simplify, simplify * simplify * 1.5};
}

std::vector<TracedContour> traceLayer(const TraceMask& mask, double detail, double minimumArea)
{
    const TraceTolerance tolerance = TraceTolerance::forDetail(detail);
    std::vector<TracedContour> contours;
    for (const std::vector<Pt>& loop : boundaryLoops(mask)) {
        const double area = enclosedArea(loop);
        if (area < minimumArea || isSliver(area, perimeter(loop)))
            continue;
        const std::vector<Pt> simplified = simplifyClosed(loop, tolerance.simplify);
        if (simplified.size() < 3)
            continue;
        std::vector<CubicSegment> segments = fitContour(simplified, tolerance.fitSquared);
        if (!segments.empty())
            contours.push_back({std::move(segments)});
    }
    return contours;
}

} // namespace zephrin::tracing
