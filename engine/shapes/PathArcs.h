#pragma once
// Circular arcs for QPainterPath in plain geometric terms. QPainterPath::arcTo
// measures its angles as they appear on a y-down screen; these helpers take
// angles counter-clockwise from the positive x axis in whatever space the path
// lives in, so label geometry drawn in a y-up space reads as it is designed.
// Arcs are built from cubic Béziers of at most 90 degrees each, which pass
// exactly through both ends and every quarter point of the circle, so a path's
// tight bounding box is exact for arcs that reach the axis directions.

#include <QPainterPath>
#include <QPointF>

namespace zephrin {

// Appends the arc of the circle around `centre` with `radius` from `startAngle`
// to `endAngle` (radians; counter-clockwise when end > start). A line joins the
// path's current point to the arc's start; an empty path begins there.
void appendArc(QPainterPath& path, QPointF centre, double radius, double startAngle, double endAngle);

// The tangent arc of a path-drawing API: from the current point p0, a line
// towards `corner` that turns, with `radius`, into the line from `corner`
// towards `towards`. Appends the straight part up to the first tangent point and
// the arc to the second, which becomes the current point. When the three points
// are collinear, or any two coincide, or the radius is not positive, it appends
// a line to `corner` instead. The path must not be empty.
void appendTangentArc(QPainterPath& path, QPointF corner, QPointF towards, double radius);

} // namespace zephrin
