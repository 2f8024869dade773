#pragma once
// Plane vector arithmetic on trace points, for the outline stages.

#include "output/vector/TraceResult.h"

#include <cmath>

namespace zephrin::tracing {

inline Pt operator+(Pt a, Pt b) { return {a.x + b.x, a.y + b.y}; }
inline Pt operator-(Pt a, Pt b) { return {a.x - b.x, a.y - b.y}; }
inline Pt operator-(Pt a) { return {-a.x, -a.y}; }
inline Pt operator*(Pt a, double s) { return {a.x * s, a.y * s}; }
inline double dot(Pt a, Pt b) { return a.x * b.x + a.y * b.y; }
inline double cross(Pt a, Pt b) { return a.x * b.y - a.y * b.x; }
inline double length(Pt a) { return std::sqrt(a.x * a.x + a.y * a.y); }
inline double distance(Pt a, Pt b) { return length(a - b); }

// Unit vector along a; (0, 0) when a is 1e-12 long or shorter.
inline Pt normalised(Pt a)
{
    const double l = length(a);
    return l <= 1e-12 ? Pt{0, 0} : Pt{a.x / l, a.y / l};
}

} // namespace zephrin::tracing
