#pragma once
// Unsharp masking: a matte sharpened by adding back what a Gaussian blur takes
// away.
//
// Matte (CV_8UC1) in and out: v' = v + intensity × (v − blur(v)), with blur the
// Gaussian of standard deviation `radius` (see GaussianBlur.h), rounded to the
// nearest byte and clamped to 0 to 255. Edges (see EdgeMode): clamp repeats
// the edge pixels before blurring and keeps the extent; transparent blurs
// against black outside and keeps the extent too (the sharpened halo beyond the
// border is dropped). A radius ≤ 0 or an intensity of 0 returns the input.
// Cost: one blur and one parallel pass.

#include "engine/pixel/EdgeMode.h"
#include "engine/pixel/Image.h"

namespace zephrin {

Matte unsharpMask(const Matte& matte, double radius, double intensity, EdgeMode edges);

} // namespace zephrin
