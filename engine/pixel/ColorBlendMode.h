#pragma once
// The non-separable "Color" blend: the foreground's hue and saturation with the
// background's luminosity, composited source-over (W3C Compositing and Blending
// Level 1, "color", with its Lum, SetLum and ClipColor).
//
// Images CV_8UC4 premultiplied in and out. Per pixel, with straight
// sRGB-encoded colours Cs (foreground), Cb (background) and alphas as, ab:
//   B  = SetLum(Cs, Lum(Cb)),  Lum(C) = 0.3 R + 0.59 G + 0.11 B,
//   co = as (1 − ab) Cs + ab (1 − as) Cb + as ab B   (premultiplied result),
//   ao = as + ab − as ab.
// Where the foreground is transparent the background shows unchanged, where the
// background is transparent the foreground does. Covers the union of the
// extents. Cost: one parallel pass, floating point where the two overlap.

#include "engine/pixel/Image.h"

namespace zephrin {

Image colorBlendMode(const Image& foreground, const Image& background);

} // namespace zephrin
