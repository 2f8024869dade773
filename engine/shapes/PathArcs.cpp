#include "engine/shapes/PathArcs.h"

#include <algorithm>

#include <cmath>
#include <numbers>

namespace zephrin {

namespace {

QPointF onCircle(QPointF centre, double radius, double angle)
{
    return centre + radius * QPointF(std::cos(angle), std::sin(angle));
}

double length(QPointF v) { return std::hypot(v.x(), v.y()); }

} // namespace

void appendArc(QPainterPath& path, QPointF centre, double radius, double startAngle, double endAngle)
{
    const QPointF start = onCircle(centre, radius, startAngle);
    if (path.elementCount() == 0)
        path.moveTo(start);
    else
        path.lineTo(start);

    const double sweep = endAngle - startAngle;
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / (std::numbers::pi / 2) - 1e-9)));
    const double step = sweep / pieces;
    // Control-point distance of the standard cubic approximation of one piece.
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < pieces; ++i) {
        const double a = startAngle + i * step;
        const double b = a + step;
        const QPointF from = onCircle(centre, radius, a);
        const QPointF to = i + 1 == pieces ? onCircle(centre, radius, endAngle) : onCircle(centre, radius, b);
        const QPointF c1 = from + k * radius * QPointF(-std::sin(a), std::cos(a));
        const QPointF c2 = to - k * radius * QPointF(-std::sin(b), std::cos(b));
        path.cubicTo(c1, c2, to);
    }
}

void appendTangentArc(QPainterPath& path, QPointF corner, QPointF towards, double radius)
{
    const QPointF p0 = path.currentPosition();
    const QPointF in = p0 - corner;
    const QPointF out = towards - corner;
    const double inLength = length(in);
    const double outLength = length(out);
    if (radius <= 0 || inLength == 0 || outLength == 0) {
        path.lineTo(corner);
        return;
    }
    const QPointF u = in / inLength;
    const QPointF v = out / outLength;
    const double cross = u.x() * v.y() - u.y() * v.x();
    const double dot = u.x() * v.x() + u.y() * v.y();
    const double between = std::atan2(std::abs(cross), dot);  // angle at the corner, 0 … π
    if (between < 1e-12 || std::numbers::pi - between < 1e-12) {
        path.lineTo(corner);
        return;
    }

    // The circle touches both lines at distance d from the corner; its centre
    // lies on the bisector.
    const double d = radius / std::tan(between / 2);
    const QPointF t1 = corner + u * d;
    const QPointF t2 = corner + v * d;
    const QPointF bisector = (u + v) / length(u + v);
    const QPointF centre = corner + bisector * (radius / std::sin(between / 2));

    const double a1 = std::atan2(t1.y() - centre.y(), t1.x() - centre.x());
    double a2 = std::atan2(t2.y() - centre.y(), t2.x() - centre.x());
    // The arc is the short way round: its sweep is π minus the corner's angle.
    while (a2 - a1 > std::numbers::pi)
        a2 -= 2 * std::numbers::pi;
    while (a2 - a1 < -std::numbers::pi)
        a2 += 2 * std::numbers::pi;
    appendArc(path, centre, radius, a1, a2);
}

} // namespace zephrin
