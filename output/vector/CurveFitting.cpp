#include "output/vector/CurveFitting.h"

#include "output/vector/PointMath.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zephrin::tracing {

namespace {

// --- The cubic and its derivatives --------------------------------------

Pt bezierAt(const CubicSegment& c, double u)
{
    const double v = 1 - u;
    return c.p0 * (v * v * v) + c.p1 * (3 * u * v * v) + c.p2 * (3 * u * u * v) + c.p3 * (u * u * u);
}

Pt firstDerivativeAt(const CubicSegment& c, double u)
{
    const double v = 1 - u;
    return (c.p1 - c.p0) * (3 * v * v) + (c.p2 - c.p1) * (6 * u * v) + (c.p3 - c.p2) * (3 * u * u);
}

Pt secondDerivativeAt(const CubicSegment& c, double u)
{
    return (c.p2 - c.p1 * 2 + c.p0) * (6 * (1 - u)) + (c.p3 - c.p2 * 2 + c.p1) * (6 * u);
}

// --- Fitting one cubic -----------------------------------------------------

// Chord-length parameters: u0 = 0, each next one further by the distance
// between neighbours, all divided by the total length (when it is above 0).
std::vector<double> chordLengthParameters(std::span<const Pt> points)
{
    std::vector<double> u(points.size(), 0.0);
    for (std::size_t i = 1; i < points.size(); ++i)
        u[i] = u[i - 1] + distance(points[i], points[i - 1]);
    const double total = u.back();
    if (total > 0)
        for (double& value : u)
            value /= total;
    return u;
}

// The cubic through the end points with the given tangents whose two tangent
// lengths minimise the squared distances to the points at parameters u (the
// 2 x 2 normal equations of the Bernstein basis). Lengths that come out tiny,
// negative, too long or not finite are replaced by a third of the chord.
CubicSegment leastSquaresCubic(std::span<const Pt> points, const std::vector<double>& u, Pt t1, Pt t2)
{
    const Pt first = points.front();
    const Pt last = points.back();
    double c00 = 0, c01 = 0, c11 = 0, x0 = 0, x1 = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double s = u[i], r = 1 - s;
        const double b0 = r * r * r, b1 = 3 * s * r * r, b2 = 3 * s * s * r, b3 = s * s * s;
        const Pt a1 = t1 * b1;
        const Pt a2 = t2 * b2;
        c00 += dot(a1, a1);
        c01 += dot(a1, a2);
        c11 += dot(a2, a2);
        const Pt rest = points[i] - (first * (b0 + b1) + last * (b2 + b3));
        x0 += dot(a1, rest);
        x1 += dot(a2, rest);
    }
    const double det = c00 * c11 - c01 * c01;
    double alpha1 = 0, alpha2 = 0;
    if (std::abs(det) >= 1e-12) {
        alpha1 = (x0 * c11 - x1 * c01) / det;
        alpha2 = (c00 * x1 - c01 * x0) / det;
    }
    const double chord = distance(last, first);
    const auto unusable = [chord](double alpha) {
        return !std::isfinite(alpha) || alpha < 1e-6 * chord || alpha > 1.2 * chord;
    };
    if (unusable(alpha1) || unusable(alpha2))
        alpha1 = alpha2 = chord / 3;
    return {first, first + t1 * alpha1, last + t2 * alpha2, last};
}

struct FitError {
    double maxSquared = 0;   // largest squared distance of an interior point, or of the curve from the run
    std::size_t split = 0;   // the interior point to split at when it is too large
};

// The squared distance of q from the segment a to b.
double squaredDistanceToSegment(Pt q, Pt a, Pt b)
{
    const Pt ab = b - a;
    const double span = dot(ab, ab);
    const double s = span > 0 ? std::clamp(dot(q - a, ab) / span, 0.0, 1.0) : 0.0;
    const Pt off = q - (a + ab * s);
    return dot(off, off);
}

// Curve samples between two neighbouring points' parameters.
constexpr int kSamplesBetweenPoints = 8;

// How far the curve strays from the polyline of the run between its points:
// a cubic fitted to few points can pass close to each of them and still bulge
// far out between (a long straight run with its points bunched at one end).
// Each curve sample between points i and i + 1 is measured against the
// polyline's pieces from i − 1 to i + 2; a split goes to the nearer of the two
// points that is interior.
FitError measureStraying(std::span<const Pt> points, const std::vector<double>& u, const CubicSegment& curve)
{
    const std::size_t n = points.size();
    FitError worst{0, n / 2};
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double from = std::min(u[i], u[i + 1]), to = std::max(u[i], u[i + 1]);
        const std::size_t firstPiece = i > 0 ? i - 1 : 0, endPiece = std::min(i + 2, n - 1);
        for (int k = 1; k < kSamplesBetweenPoints; ++k) {
            const double at = from + (to - from) * k / kSamplesBetweenPoints;
            const Pt q = bezierAt(curve, at);
            double nearest = INFINITY;
            for (std::size_t j = firstPiece; j < endPiece; ++j)
                nearest = std::min(nearest, squaredDistanceToSegment(q, points[j], points[j + 1]));
            if (nearest > worst.maxSquared) {
                worst.maxSquared = nearest;
                const bool nearerStart = k * 2 <= kSamplesBetweenPoints;
                worst.split = std::clamp<std::size_t>(nearerStart ? i : i + 1, 1, n - 2);
            }
        }
    }
    return worst;
}

FitError measureError(std::span<const Pt> points, const std::vector<double>& u, const CubicSegment& curve)
{
    FitError error{0, points.size() / 2};
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const Pt d = bezierAt(curve, u[i]) - points[i];
        const double squared = dot(d, d);
        if (squared >= error.maxSquared) {
            error.maxSquared = squared;
            error.split = i;
        }
    }
    const FitError straying = measureStraying(points, u, curve);
    return straying.maxSquared > error.maxSquared ? straying : error;
}

// One Newton-Raphson step per parameter towards the curve point nearest its
// data point, clamped to 0 ... 1.
void reparameterise(std::span<const Pt> points, std::vector<double>& u, const CubicSegment& curve)
{
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Pt off = bezierAt(curve, u[i]) - points[i];
        const Pt d1 = firstDerivativeAt(curve, u[i]);
        const Pt d2 = secondDerivativeAt(curve, u[i]);
        const double denominator = dot(d1, d1) + dot(off, d2);
        if (std::abs(denominator) < 1e-12)
            continue;
        u[i] = std::clamp(u[i] - dot(off, d1) / denominator, 0.0, 1.0);
    }
}

constexpr int kNewtonIterations = 4;

// The cubic from a to b leaving along t1 and arriving along t2, its handles a
// third of the chord, or shorter where that would take it further than the
// tolerance from the chord: a run split at a point keeps a tangent there that
// need not lie along the chord, and full handles would bow the curve out
// (a wall meeting a roof becomes a bulge). The curve's distance from the
// chord's line grows linearly with the handles, so one scaling suffices.
CubicSegment twoPointCurve(Pt a, Pt b, Pt t1, Pt t2, double maxError)
{
    const Pt across = normalised(Pt{a.y - b.y, b.x - a.x});
    double handle = distance(b, a) / 3, farthest = 0;
    for (int k = 1; k < 16; ++k) {
        const double u = k / 16.0, v = 1 - u;
        farthest = std::max(farthest, std::abs(3 * u * v * v * dot(t1, across) + 3 * u * u * v * dot(t2, across)));
    }
    const double limit = std::sqrt(maxError);
    if (farthest * handle > limit)
        handle = limit / farthest;
    return {a, a + t1 * handle, b + t2 * handle, b};
}

} // namespace

// Each run either fits one cubic or is split in two at its worst point, with a
// shared tangent there. Runs wait on an explicit stack, right half below left
// half, so segments come out in outline order.
void fitCubic(std::span<const Pt> points, Pt startTangent, Pt endTangent, double maxError,
              std::vector<CubicSegment>& out)
{
    struct Run {
        std::size_t first, last;
        Pt t1, t2;
    };
    std::vector<Run> runs{{0, points.size() - 1, startTangent, endTangent}};
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        const std::span<const Pt> p = points.subspan(run.first, run.last - run.first + 1);

        if (p.size() == 2) {
            out.push_back(twoPointCurve(p[0], p[1], run.t1, run.t2, maxError));
            continue;
        }

        std::vector<double> u = chordLengthParameters(p);
        CubicSegment curve = leastSquaresCubic(p, u, run.t1, run.t2);
        FitError error = measureError(p, u, curve);
        bool fitted = error.maxSquared < maxError;
        if (!fitted && error.maxSquared < 4 * maxError) {
            for (int i = 0; i < kNewtonIterations && !fitted; ++i) {
                reparameterise(p, u, curve);
                curve = leastSquaresCubic(p, u, run.t1, run.t2);
                error = measureError(p, u, curve);
                fitted = error.maxSquared < maxError;
            }
        }
        if (fitted) {
            out.push_back(curve);
            continue;
        }

        const std::size_t k = error.split;
        const Pt centre = normalised((p[k - 1] - p[k + 1]) * 0.5);
        const std::size_t split = run.first + k;
        runs.push_back({split, run.last, -centre, run.t2});
        runs.push_back({run.first, split, run.t1, centre});
    }
}

std::vector<CubicSegment> fitContour(const std::vector<Pt>& points, double maxError)
{
    const std::size_t n = points.size();
    const auto at = [&](std::size_t i) { return points[i % n]; };

    std::vector<std::size_t> corners;
    for (std::size_t i = 0; i < n; ++i) {
        const Pt in = normalised(points[i] - at(i + n - 1));
        const Pt outgoing = normalised(at(i + 1) - points[i]);
        if (dot(in, outgoing) < kCornerCosine)
            corners.push_back(i);
    }

    std::vector<CubicSegment> segments;
    if (corners.empty()) {
        std::vector<Pt> closed(points);
        closed.push_back(points[0]);
        const Pt tangent = normalised(points[1] - points[n - 1]);
        fitCubic(closed, tangent, -tangent, maxError, segments);
        return segments;
    }

    std::vector<Pt> piece;
    for (std::size_t j = 0; j < corners.size(); ++j) {
        const std::size_t from = corners[j];
        // The next corner, once round the outline from the last one (a single
        // corner's piece runs all the way round back to itself).
        const std::size_t to = j + 1 < corners.size() ? corners[j + 1] : corners[0] + n;
        piece.clear();
        for (std::size_t i = from; i <= to; ++i)
            piece.push_back(at(i));

        const std::size_t m = piece.size();
        if (m == 2) {
            segments.push_back({piece[0], piece[0], piece[1], piece[1]});
            continue;
        }
        fitCubic(piece, normalised(piece[1] - piece[0]), normalised(piece[m - 2] - piece[m - 1]), maxError,
                 segments);
    }
    return segments;
}

} // namespace zephrin::tracing
