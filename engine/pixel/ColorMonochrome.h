#pragma once
// Recolouring into the shades of one colour (the subject's tint).
//
// Image: CV_8UC4 premultiplied in and out; works on straight sRGB-encoded colour
// (converted in floating point inside), alpha untouched. Each pixel's luma l
// (Rec. 709 weights 0.2126, 0.7152, 0.0722) is overlaid with the colour, per
// component c of the colour:
//   mono = 2 l c              where l < 0.5,
//        = 1 − 2 (1 − l)(1 − c) elsewhere,
// so black stays black, middle grey becomes the colour and white stays white;
// then out = in + (mono − in) × intensity. Intensity is clamped to 0 to 1: 0
// changes nothing, 1 tints fully. The colour's alpha is not used.
// Keeps the extent and origin. Cost: one parallel pass.

#include "engine/pixel/Image.h"
#include "engine/types/RGBAColor.h"

namespace zephrin {

Image colorMonochrome(const Image& image, const RGBAColor& color, double intensity);

} // namespace zephrin
