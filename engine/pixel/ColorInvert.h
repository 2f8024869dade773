#pragma once
// Colour inversion.
//
// Image: CV_8UC4 premultiplied in and out. The straight colour is inverted and
// alpha kept: c' = 1 − c, which in premultiplied form is exactly cp' = a − cp,
// so no un-premultiply is needed and nothing is lost at small alpha. Transparent
// pixels stay transparent.
// Matte: v' = 255 − v (CV_8UC1). Outside the extent the plane stays black, as
// for every matte; crop or clamp first when the inverse must cover more.
// Both keep the extent and origin. Cost: one parallel pass.

#include "engine/pixel/Image.h"

namespace zephrin {

Image colorInvert(const Image& image);
Matte colorInvert(const Matte& matte);

} // namespace zephrin
