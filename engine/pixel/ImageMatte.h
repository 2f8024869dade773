#pragma once
// Conversions between Image and Matte.
//
// alphaMatte: Image (CV_8UC4 premultiplied) → Matte (CV_8UC1) whose value is the
//   image's alpha; same extent and origin (transparent outside becomes black).
// greyImage: Matte → opaque grey Image (v, v, v, 255) over the matte's extent;
//   outside it the image is transparent, as every image is.
// maskedBy: applies a matte as alpha. Every premultiplied channel, alpha
//   included, is scaled by m / 255 (rounded), which keeps the straight colour
//   and multiplies the alpha; for an opaque image the matte becomes its alpha.
//   The result keeps the image's extent and origin; where the matte's extent does
//   not reach, the matte reads as black and the image becomes transparent.
// Cost: one parallel pass each.

#include "engine/pixel/Image.h"

namespace zephrin {

Matte alphaMatte(const Image& image);
Image greyImage(const Matte& matte);
Image maskedBy(const Image& image, const Matte& matte);

} // namespace zephrin
