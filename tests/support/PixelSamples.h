#pragma once
// Seeded pictures for pixel tests and benchmarks: the same seed gives the same
// pixels on every run and machine.

#include "engine/pixel/Image.h"

namespace zephrin::testing {

// Photo-like content: a smooth two-axis gradient, hard-edged discs and boxes of
// many colours, and fine noise. Opaque unless `translucent`, which gives every
// pixel its own alpha (many of them faint) and premultiplies the colour.
Image photoLikeImage(cv::Size size, unsigned seed, bool translucent = false);

// A soft matte: discs and boxes on black, noise, and a blur that gives them ramps.
Matte photoLikeMatte(cv::Size size, unsigned seed);

} // namespace zephrin::testing
