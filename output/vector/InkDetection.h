#pragma once
// Ink: the dark strokes of a drawing or print on a light ground. The ink test
// decides from the subject's colours whether a picture is such a drawing; the
// ink mask picks out its strokes.

#include "engine/bitmap/RGBABitmap.h"
#include "output/vector/TraceMask.h"

namespace zephrin::tracing {

// A box of pixels, both ends inclusive.
struct PixelBox {
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
};

// Counts light, dark and mid-tone pixels over the box on a grid of about
// 300 x 300 samples (transparent pixels count as light paper). The subject
// looks like ink when mid-tones are rare (under 12 %), some pixels are dark
// (over 2 %, under 60 %) and light ground dominates (over 30 %).
bool looksLikeInk(const RGBABitmap& colours, const PixelBox& subjectBox);

// The ink pixels in the subject's box grown by a margin (a fortieth of the
// longer side, or 4 pixels on small bitmaps): visible pixels whose
// un-premultiplied luminance is below `inkThreshold`, and transparent ones too
// when the threshold is above 1. O(pixels in the grown box).
CountedMask inkMask(const RGBABitmap& colours, const PixelBox& subjectBox, double inkThreshold);

} // namespace zephrin::tracing
