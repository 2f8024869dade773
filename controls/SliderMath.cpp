#include "controls/SliderMath.h"

#include <algorithm>
#include <cmath>

namespace zephrin::slider {

namespace {

double fraction(double value, double lower, double upper)
{
    return (value - lower) / (upper - lower);
}

} // namespace

double valueAt(double x, double width, double lower, double upper, double step)
{
    const double t = width > 0 ? std::clamp(x / width, 0.0, 1.0) : 0.0;
    const double raw = lower + (upper - lower) * t;
    const double snapped = std::round(raw / step) * step;
    return std::clamp(snapped, lower, upper) + 0.0;  // + 0.0 turns -0 into 0
}

double stepped(double value, int steps, double lower, double upper, double step)
{
    const double next = (std::round(value / step) + steps) * step;
    return std::clamp(next, lower, upper) + 0.0;
}

double fillWidth(double value, double width, double lower, double upper)
{
    return std::clamp(width * fraction(value, lower, upper), 0.0, std::max(width, 0.0));
}

double thumbOffset(double value, double width, double lower, double upper)
{
    return std::max(std::min(width * fraction(value, lower, upper) - kThumbSize / 2, width - kThumbSize), 0.0);
}

} // namespace zephrin::slider
