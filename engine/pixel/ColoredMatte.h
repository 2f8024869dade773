#pragma once
// An image of one colour whose coverage is a matte: the colour image masked by
// the matte in one step (mask-blending a colour over transparency).
//
// Matte (CV_8UC1) in, Image (CV_8UC4 premultiplied) out over the matte's extent
// and origin: each pixel is the colour premultiplied by its alpha (components
// clamped to 0 to 1), then scaled by m / 255, rounded. Outside the extent the
// plane is transparent, as it is black for the matte.
// Cost: one parallel pass (a 256-entry table per channel).

#include "engine/pixel/Image.h"
#include "engine/types/RGBAColor.h"

#include <array>

namespace zephrin {

Image coloredMatte(const Matte& matte, const RGBAColor& color);

// The pixel coloredMatte makes of each matte value m: 4 bytes at 4 × m.
std::array<uchar, 1024> colourRamp(const RGBAColor& color);

} // namespace zephrin
