#include "engine/pixel/ColorMonochrome.h"

#include "engine/pixel/detail/ColourMaps.h"

#include <algorithm>

namespace zephrin {

Image colorMonochrome(const Image& image, const RGBAColor& color, double intensity)
{
    const float amount = detail::unitClamp(float(intensity));
    if (amount == 0.f)
        return image;
    const cv::Vec3f tint(detail::unitClamp(float(color.r)), detail::unitClamp(float(color.g)),
                         detail::unitClamp(float(color.b)));
    return detail::mapStraightColour(image, [&](cv::Vec4f& c) {
        const float luma = 0.2126f * c[0] + 0.7152f * c[1] + 0.0722f * c[2];
        for (int i = 0; i < 3; ++i) {
            const float mono = luma < 0.5f ? 2.f * luma * tint[i] : 1.f - 2.f * (1.f - luma) * (1.f - tint[i]);
            c[i] += (mono - c[i]) * amount;
        }
    });
}

} // namespace zephrin
