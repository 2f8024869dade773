#pragma once
// Saturation, brightness and contrast.
//
// Image: CV_8UC4 premultiplied in and out; works on straight sRGB-encoded colour
// (converted in floating point inside), alpha untouched. In this order, each
// component c on 0 to 1:
//   saturation  c = luma + (c − luma) × saturation, luma with the Rec. 709
//               weights (0.2126, 0.7152, 0.0722); 0 gives grey, above 1 boosts;
//   brightness  c = c + brightness;
//   contrast    c = (c − 0.5) × contrast + 0.5;
// then clamped to 0 to 1 and premultiplied again. The defaults change nothing.
// Matte: the same on the grey value (saturation has no effect on grey).
// Both keep the extent and origin. Cost: one parallel pass (a 256-entry table
// for mattes).

#include "engine/pixel/Image.h"

namespace zephrin {

struct ColorControls {
    double saturation = 1;
    double brightness = 0;
    double contrast = 1;

    friend bool operator==(const ColorControls&, const ColorControls&) = default;
};

Image colorControls(const Image& image, const ColorControls& controls);
Matte colorControls(const Matte& matte, const ColorControls& controls);

} // namespace zephrin
