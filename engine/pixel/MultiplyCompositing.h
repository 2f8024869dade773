#pragma once
// Multiply compositing.
//
// Images: CV_8UC4 premultiplied in and out, the multiply blend with source-over
// alpha, on premultiplied colour:
//   out = F × B + F × (1 − Ba) + B × (1 − Fa)   (alpha: Fa + Ba − Fa × Ba),
// so where one image is transparent the other shows unchanged, and two opaque
// images multiply. Covers the union of the extents.
// Mattes: CV_8UC1, out = a × b / 255 (rounded). Outside its extent a matte is
// black, so the result covers the intersection of the extents (empty at the
// first matte's origin when they do not meet).
// Cost: one parallel pass.

#include "engine/pixel/Image.h"

namespace zephrin {

Image multiplyCompositing(const Image& foreground, const Image& background);
Matte multiplyCompositing(const Matte& a, const Matte& b);

} // namespace zephrin
