#pragma once
// An image of one colour.
//
// RGBAColor (straight sRGB, components clamped to 0 to 1) → Image (CV_8UC4
// premultiplied) covering exactly `extent`: alpha = round(a × 255), each colour
// channel round(c × a × 255). Outside the extent the plane is transparent.
// Cost: one parallel fill.

#include "engine/pixel/Image.h"
#include "engine/types/RGBAColor.h"

#include <array>

namespace zephrin {

Image solidImage(const RGBAColor& color, cv::Rect extent);

// The one pixel of solidImage: premultiplied RGBA bytes.
std::array<uchar, 4> solidPixel(const RGBAColor& color);

} // namespace zephrin
