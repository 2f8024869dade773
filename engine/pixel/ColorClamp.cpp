#include "engine/pixel/ColorClamp.h"

#include "engine/pixel/detail/ColourMaps.h"

#include <algorithm>

namespace zephrin {

Image colorClamp(const Image& image, const RGBAColor& minimum, const RGBAColor& maximum)
{
    const cv::Vec4f low(float(minimum.r), float(minimum.g), float(minimum.b), float(minimum.a));
    const cv::Vec4f high(float(maximum.r), float(maximum.g), float(maximum.b), float(maximum.a));
    return detail::mapStraightColour(image, [&](cv::Vec4f& colour) {
        for (int i = 0; i < 4; ++i)
            colour[i] = std::min(std::max(colour[i], low[i]), high[i]);
    });
}

Matte colorClamp(const Matte& matte, double minimum, double maximum)
{
    return detail::mapMatteValues(matte, [&](double v) { return std::min(std::max(v, minimum), maximum); });
}

} // namespace zephrin
