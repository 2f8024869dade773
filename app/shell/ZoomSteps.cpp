#include "app/shell/ZoomSteps.h"

namespace zephrin::zoomsteps {

std::optional<double> stepUp(double zoom)
{
    for (double level : kLevels)
        if (level > zoom + kTolerance)
            return level;
    return std::nullopt;
}

std::optional<double> stepDown(double zoom)
{
    for (auto it = kLevels.rbegin(); it != kLevels.rend(); ++it)
        if (*it < zoom - kTolerance)
            return *it;
    return std::nullopt;
}

} // namespace zephrin::zoomsteps
