#pragma once
// Moving an image in the plane by whole pixels.
//
// Image or Matte in, the same type out, pixels shared with the input (nothing is
// copied). The extent keeps its size; its origin moves by `offset` (image space,
// y down: a positive y moves the image down). Cost: constant.

#include "engine/pixel/Image.h"

namespace zephrin {

Image translated(const Image& image, cv::Point offset);
Matte translated(const Matte& matte, cv::Point offset);

} // namespace zephrin
