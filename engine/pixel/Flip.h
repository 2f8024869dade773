#pragma once
// Mirroring an image left to right within a canvas.
//
// Image (CV_8UC4 premultiplied) in, the same out. Maps image space x to
// canvasWidth − x (y unchanged): the canvas [0, canvasWidth) turns onto itself,
// and an image anywhere in the plane lands at its mirror position with its rows
// reversed. Cost: one copy.

#include "engine/pixel/Image.h"

namespace zephrin {

Image flippedHorizontally(const Image& image, int canvasWidth);

} // namespace zephrin
