#pragma once
// Mirroring left to right.
//
// Image (CV_8UC4 premultiplied) or Matte (CV_8UC1) in, the same type out, with
// the same extent and origin: the pixel at column x moves to column
// width − 1 − x of the extent. Cost: one parallel copy.

#include "engine/pixel/Image.h"

namespace zephrin {

Image mirrored(const Image& image);
Matte mirrored(const Matte& matte);

} // namespace zephrin
