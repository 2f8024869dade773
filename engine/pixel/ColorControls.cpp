#include "engine/pixel/ColorControls.h"

#include "engine/pixel/detail/ColourMaps.h"

namespace zephrin {

namespace {

template <class T>
T brightnessAndContrast(T c, const ColorControls& controls)
{
    return (c + T(controls.brightness) - T(0.5)) * T(controls.contrast) + T(0.5);
}

} // namespace

Image colorControls(const Image& image, const ColorControls& controls)
{
    const float saturation = float(controls.saturation);
    return detail::mapStraightColour(image, [&](cv::Vec4f& colour) {
        const float luma = 0.2126f * colour[0] + 0.7152f * colour[1] + 0.0722f * colour[2];
        for (int i = 0; i < 3; ++i)
            colour[i] = brightnessAndContrast(luma + (colour[i] - luma) * saturation, controls);
    });
}

Matte colorControls(const Matte& matte, const ColorControls& controls)
{
    return detail::mapMatteValues(matte, [&](double v) { return brightnessAndContrast(v, controls); });
}

} // namespace zephrin
