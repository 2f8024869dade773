#pragma once
// Laying paint over one premultiplied RGBA pixel: straight colour (r, g, b),
// each 0 to 1, at effective alpha `alpha` (0 to 1: the paint's own alpha times
// its coverage, opacity and clip), source-over, rounded to the nearest byte.
// Colour never exceeds alpha afterwards when it did not before.

#include "engine/types/RGBAColor.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <array>

namespace zephrin::detail {

// A paint colour's r, g, b, a, each clamped to 0 … 1.
inline std::array<float, 4> paintComponents(const RGBAColor& colour)
{
    return {float(std::clamp(colour.r, 0.0, 1.0)), float(std::clamp(colour.g, 0.0, 1.0)),
            float(std::clamp(colour.b, 0.0, 1.0)), float(std::clamp(colour.a, 0.0, 1.0))};
}

inline void paintOver(uchar* pixel, const float* rgb, float alpha)
{
    const float keep = 1 - alpha;
    for (int c = 0; c < 3; ++c)
        pixel[c] = uchar(255 * rgb[c] * alpha + float(pixel[c]) * keep + 0.5f);
    pixel[3] = uchar(255 * alpha + float(pixel[3]) * keep + 0.5f);
}

} // namespace zephrin::detail
