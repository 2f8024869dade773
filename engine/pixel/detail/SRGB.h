#pragma once
// The sRGB transfer function (IEC 61966-2-1), for filters defined in linear light.

#include <cmath>

namespace zephrin::detail {

inline double srgbToLinear(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

inline double linearToSrgb(double linear)
{
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

} // namespace zephrin::detail
