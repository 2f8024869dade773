#include "output/vector/SimplifyClosed.h"

#include "output/vector/PointMath.h"

#include <cmath>
#include <cstddef>
#include <utility>

namespace zephrin::tracing {

namespace {

double distanceToChord(Pt p, Pt first, Pt last)
{
    const Pt d = last - first;
    const double chord = length(d);
    if (chord < 1e-12)
        return distance(p, first);
    return std::abs(d.x * (first.y - p.y) - d.y * (first.x - p.x)) / chord;
}

// Marks in `keep` the points that open Douglas-Peucker keeps of points[first ...
// last]. An explicit stack instead of recursion: an outline can have tens of
// thousands of corners and the split may peel one point at a time.
void markDouglasPeucker(const std::vector<Pt>& points, std::size_t first, std::size_t last, double tolerance,
                        std::vector<char>& keep)
{
    keep[first] = keep[last] = 1;
    std::vector<std::pair<std::size_t, std::size_t>> parts{{first, last}};
    while (!parts.empty()) {
        const auto [from, to] = parts.back();
        parts.pop_back();
        if (to - from < 2)
            continue;
        double farthest = -1;
        std::size_t split = from;
        for (std::size_t i = from + 1; i < to; ++i) {
            const double d = distanceToChord(points[i], points[from], points[to]);
            if (d > farthest) {
                farthest = d;
                split = i;
            }
        }
        if (farthest > tolerance) {
            keep[split] = 1;
            parts.push_back({split, to});
            parts.push_back({from, split});
        }
    }
}

} // namespace

std::vector<Pt> simplifyClosed(const std::vector<Pt>& loop, double tolerance)
{
    const std::size_t n = loop.size();
    if (n < 5)
        return loop;

    std::size_t far = 0;
    double farthest = -1;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = distance(loop[i], loop[0]);
        if (d > farthest) {
            farthest = d;
            far = i;
        }
    }

    // The loop closed by repeating p0 at index n: the halves are p0 ... pf and
    // pf ... pn-1, p0. Each half keeps its ends, so pf and p0 appear once each
    // in the result (index n is the same point as index 0 and is left out).
    std::vector<Pt> closed(loop);
    closed.push_back(loop[0]);
    std::vector<char> keep(n + 1, 0);
    markDouglasPeucker(closed, 0, far, tolerance, keep);
    markDouglasPeucker(closed, far, n, tolerance, keep);

    std::vector<Pt> kept;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i])
            kept.push_back(loop[i]);
    return kept;
}

} // namespace zephrin::tracing
