#pragma once
// The colour type of every setting, layer, backdrop and sticker sheet.

#include <cmath>

namespace zephrin {

// sRGB components, each 0 to 1, alpha not premultiplied.
struct RGBAColor {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 1;

    friend bool operator==(const RGBAColor&, const RGBAColor&) = default;
};

// The Euclidean distance of two colours in RGB (0 to 1 units), alpha ignored.
inline double rgbDistance(const RGBAColor& a, const RGBAColor& b)
{
    return std::sqrt((a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b));
}

// The violet that a new tint and a new label fill start from: (139, 92, 246) / 255.
inline constexpr RGBAColor kStartViolet{139.0 / 255.0, 92.0 / 255.0, 246.0 / 255.0, 1};

} // namespace zephrin
