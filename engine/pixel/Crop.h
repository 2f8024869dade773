#pragma once
// Cropping to a rectangle of image space.
//
// Image (CV_8UC4 premultiplied) or Matte (CV_8UC1) in, the same type out. The
// result's extent is `area` ∩ the input's extent, at that intersection's origin;
// the plane outside stays transparent (black). An empty intersection gives an
// empty value at area's origin. The result is a view that shares the input's
// buffer (its rows need not be contiguous). Cost: constant, nothing is copied.

#include "engine/pixel/Image.h"

namespace zephrin {

Image cropped(const Image& image, cv::Rect area);
Matte cropped(const Matte& matte, cv::Rect area);

} // namespace zephrin
