#pragma once
// Blending two images through a mask.
//
// Images CV_8UC4 premultiplied in and out, mask a Matte (CV_8UC1); the blend is
// done on premultiplied colour, every channel alike:
//   out = foreground × m + background × (1 − m),   m = mask / 255,
// rounded to the nearest byte. The result covers the union of the two images'
// extents (origin at its top left). Outside its own extent each image reads as
// transparent and the mask as black (so there the background shows).
// Cost: one parallel pass over the union.

#include "engine/pixel/Image.h"

namespace zephrin {

Image blendWithMask(const Image& foreground, const Image& background, const Matte& mask);

} // namespace zephrin
