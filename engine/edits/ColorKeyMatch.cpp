#include "engine/edits/ColorKeyMatch.h"

#include <algorithm>

namespace zephrin {

ColorKeyMatch ColorKeyMatch::forTolerance(double tolerance)
{
    const double t = std::clamp(tolerance, 0.0, 100.0) / 100 * 0.58 + 0.02;
    const double softness = 0.35 * t;
    return {t - softness, t + softness};
}

double ColorKeyMatch::at(double distance) const
{
    if (distance <= full)
        return 1;
    if (distance < none)
        return 1 - (distance - full) / (none - full);
    return 0;
}

} // namespace zephrin
