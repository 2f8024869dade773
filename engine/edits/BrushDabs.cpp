#include "engine/edits/BrushDabs.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

// Keeps the last dab of a segment whose length is a whole number of spacings
// despite rounding in the division.
constexpr double kSlack = 1e-9;

bool finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

// The part of the segment from `a` along `direction` (unit) for `length` that
// lies inside `box`, as a distance interval [first, last]; empty when first > last.
std::pair<double, double> clippedInterval(QPointF a, QPointF direction, double length, const QRectF& box)
{
    double first = 0;
    double last = length;
    const auto clip = [&](double origin, double step, double low, double high) {
        if (step == 0) {
            if (origin < low || origin > high)
                last = -1;
            return;
        }
        double enter = (low - origin) / step;
        double leave = (high - origin) / step;
        if (enter > leave)
            std::swap(enter, leave);
        first = std::max(first, enter);
        last = std::min(last, leave);
    };
    clip(a.x(), direction.x(), box.left(), box.right());
    clip(a.y(), direction.y(), box.top(), box.bottom());
    return {first, last};
}

} // namespace

double brushRadius(double size) { return size * 0.5 > 0.5 ? size * 0.5 : 0.5; }

double dabSpacing(double radius) { return radius * 0.18 > 0.5 ? radius * 0.18 : 0.5; }

std::vector<QPointF> dabCentres(const std::vector<QPointF>& points, double spacing, const std::optional<QRectF>& within)
{
    std::vector<QPointF> centres;
    if (!(spacing > 0))
        return centres;
    const auto keep = [&](QPointF p) { return !within || within->contains(p); };

    auto point = std::find_if(points.begin(), points.end(), finite);
    if (point == points.end())
        return centres;
    QPointF previous = *point;
    if (keep(previous))
        centres.push_back(previous);

    double carry = 0; // path length since the last dab
    for (++point; point != points.end(); ++point) {
        if (!finite(*point))
            continue;
        const QPointF delta = *point - previous;
        const double length = std::hypot(delta.x(), delta.y());
        if (!(length > 0))
            continue;
        const QPointF direction = delta / length;
        // Dabs fall at distances firstAt + k·spacing from `previous`, k = 0 … last.
        const double firstAt = spacing - carry;
        if (firstAt <= length + kSlack) {
            const double lastK = std::floor((length - firstAt) / spacing + kSlack);
            double fromK = 0;
            double toK = lastK;
            if (within) {
                const auto [enter, leave] = clippedInterval(previous, direction, length, *within);
                fromK = std::max(fromK, std::ceil((enter - firstAt) / spacing - kSlack));
                toK = std::min(toK, std::floor((leave - firstAt) / spacing + kSlack));
            }
            for (double k = fromK; k <= toK; ++k) {
                const QPointF centre = previous + direction * (firstAt + k * spacing);
                if (keep(centre))
                    centres.push_back(centre);
            }
            carry = std::max(length - (firstAt + lastK * spacing), 0.0);
        } else {
            carry += length;
        }
        previous = *point;
    }
    return centres;
}

} // namespace zephrin
