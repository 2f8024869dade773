#include "engine/pixel/ColorThreshold.h"

#include "engine/pixel/detail/ColourMaps.h"

namespace zephrin {

Matte colorThreshold(const Matte& matte, double threshold)
{
    return detail::mapMatteValues(matte, [&](double v) { return v > threshold ? 1.0 : 0.0; });
}

} // namespace zephrin
