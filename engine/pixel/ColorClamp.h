#pragma once
// Clamping colour components into a range.
//
// Image: CV_8UC4 premultiplied in and out; works on straight colour (converts in
// floating point inside), clamps r, g, b and a each to [minimum, maximum] of its
// component (0 to 1), then premultiplies again. The defaults change nothing.
// Matte: each value (0 to 1) clamped to [minimum, maximum].
// Both keep the extent and origin; outside it stays transparent (black).
// Cost: one parallel pass.

#include "engine/pixel/Image.h"
#include "engine/types/RGBAColor.h"

namespace zephrin {

Image colorClamp(const Image& image, const RGBAColor& minimum = {0, 0, 0, 0}, const RGBAColor& maximum = {1, 1, 1, 1});
Matte colorClamp(const Matte& matte, double minimum = 0, double maximum = 1);

} // namespace zephrin
