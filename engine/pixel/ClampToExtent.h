#pragma once
// Clamping to the extent: the edge pixels repeated outward, cropped to an area.
//
// Image or Matte in, the same type out (premultiplied pixels are copied as they
// are). The result's extent is exactly `area` (image space). A pixel of `area`
// inside the input's extent keeps its value; one outside takes the value of the
// nearest pixel of the extent (corners fill the diagonal quadrants). An empty
// input gives a transparent (black) area. Cost: one parallel copy of `area`.

#include "engine/pixel/Image.h"

namespace zephrin {

Image clampedToExtent(const Image& image, cv::Rect area);
Matte clampedToExtent(const Matte& matte, cv::Rect area);

} // namespace zephrin
