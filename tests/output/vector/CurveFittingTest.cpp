#include "output/vector/BoundaryLoops.h"
#include "output/vector/CurveFitting.h"
#include "output/vector/TraceLayer.h"

#include "output/vector/TraceFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace zephrin;
using namespace zephrin::tracing;
using zephrin::testing::inDisc;
using zephrin::testing::inRect;

namespace {

Pt curveAt(const CubicSegment& s, double u)
{
    const double v = 1 - u;
    const double a = v * v * v, b = 3 * u * v * v, c = 3 * u * u * v, d = u * u * u;
    return {a * s.p0.x + b * s.p1.x + c * s.p2.x + d * s.p3.x, a * s.p0.y + b * s.p1.y + c * s.p2.y + d * s.p3.y};
}

double distanceToSegment(Pt q, Pt a, Pt b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double span = dx * dx + dy * dy;
    const double s = span > 0 ? std::clamp(((q.x - a.x) * dx + (q.y - a.y) * dy) / span, 0.0, 1.0) : 0.0;
    return std::hypot(q.x - (a.x + dx * s), q.y - (a.y + dy * s));
}

// The farthest any point of the curves lies from the closed polygons.
double farthestFrom(const std::vector<CubicSegment>& segments, const std::vector<std::vector<Pt>>& loops)
{
    double farthest = 0;
    for (const CubicSegment& s : segments)
        for (int k = 0; k <= 64; ++k) {
            const Pt q = curveAt(s, k / 64.0);
            double nearest = INFINITY;
            for (const std::vector<Pt>& loop : loops)
                for (std::size_t i = 0; i < loop.size(); ++i)
                    nearest = std::min(nearest, distanceToSegment(q, loop[i], loop[(i + 1) % loop.size()]));
            farthest = std::max(farthest, nearest);
        }
    return farthest;
}

} // namespace

// Outlines whose simplified polygons have long straight runs ending in a few
// close points (a thin floor line, a wall meeting an eave, the ends of a
// bar): a cubic fitted to the few points may pass near each of them and
// still bulge far out along the run, and so may the curve of a single
// straight run whose end tangent comes from a split. Every fitted curve stays within the fit
// tolerance of the polygon it stands for.
TEST(FitContour, CurvesStayOnLongStraightRunsAndCorners)
{
    struct Polygon {
        const char* what;
        std::vector<Pt> points;
    };
    const Polygon polygons[] = {
        {"a thin bar with rounded ends",
         {{0, 1}, {1, 0}, {400, 0}, {401.5, 0.6}, {402, 2}, {401.5, 3.4}, {400, 4}, {1, 4}, {0, 3}}},
        {"a long run then a gentle bend",
         {{0, 0}, {300, 0}, {302, 0.4}, {304, 1.2}, {306, 2.4}, {307, 20}, {0, 20}}},
        {"a slanted floor line",
         {{0, 0}, {2, -1}, {500, 20}, {502, 22}, {500, 24}, {2, 3}, {0, 2}}},
        {"a roof over a wall", {{0, 40}, {60, 0}, {120, 40}, {118, 41.5}, {116, 43}, {116, 140}, {4, 140}, {4, 43}}},
        // Walls meet the roof at a turn short of a corner: the run is split
        // there, and the wall's and roof's own curves must not bow out.
        {"walls under a roof", {{98, 332}, {98, 198}, {250, 88}, {402, 198}, {402, 332}}},
    };
    for (const double maxError : {0.5, 2.4, 7.3}) {
        for (const Polygon& polygon : polygons) {
            SCOPED_TRACE(::testing::Message() << polygon.what << ", max error " << maxError);
            const std::vector<CubicSegment> segments = fitContour(polygon.points, maxError);
            ASSERT_FALSE(segments.empty());
            EXPECT_LE(farthestFrom(segments, {polygon.points}), std::sqrt(maxError) + 0.05);
        }
    }
}

// Traced shapes of a line drawing (floor lines drawn at a slant, a house)
// stay within the trace's tolerances of the pixels' own outline: the
// simplified polygon's distance plus the fit's; smooth outlines too.
TEST(TraceLayer, CurvesStayWithinTheTolerancesOfTheOutline)
{
    struct Shape {
        const char* what;
        int w, h;
        std::function<bool(int, int)> inside;
    };
    const auto floorLine = [](double slope, double halfThickness) {
        return [=](int x, int y) { return x >= 20 && x < 680 && std::abs(y + 0.5 - (30 + slope * x)) <= halfThickness; };
    };
    const Shape shapes[] = {
        {"a thin floor line, slope 1/20", 700, 120, floorLine(0.05, 1)},
        {"a thin floor line, slope 1/10", 700, 120, floorLine(0.1, 1)},
        {"a floor line, slope 1/10", 700, 120, floorLine(0.1, 3)},
        {"a floor line, slope 3/10", 700, 260, floorLine(0.3, 2)},
        {"a house outline", 240, 220,
         [](int x, int y) {
             const bool walls = inRect(x, y, 40, 100, 160, 100) && !inRect(x, y, 44, 104, 152, 92);
             const int rise = y - 20, across = std::abs(x - 120);
             const bool roof = y >= 20 && y < 100 && across <= rise + 4 && across >= rise - 4;
             return walls || roof || inRect(x, y, 10, 200, 220, 3);
         }},
        {"a disc", 120, 120, [](int x, int y) { return inDisc(x, y, 60, 60, 50); }},
    };
    for (const double detail : {0.0, 0.5, 1.0})
        for (const Shape& shape : shapes) {
            SCOPED_TRACE(::testing::Message() << shape.what << ", detail " << detail);
            const TraceMask mask = zephrin::testing::mask(shape.w, shape.h, shape.inside);
            std::vector<CubicSegment> all;
            for (const TracedContour& contour : traceLayer(mask, detail, 0))
                all.insert(all.end(), contour.segments.begin(), contour.segments.end());
            ASSERT_FALSE(all.empty());
            const TraceTolerance tolerance = TraceTolerance::forDetail(detail);
            EXPECT_LE(farthestFrom(all, boundaryLoops(mask)), tolerance.simplify + std::sqrt(tolerance.fitSquared));
        }
}
