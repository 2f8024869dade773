#pragma once
// The measurement of a flat, evenly coloured backdrop (a page, a studio sweep).
// Found by the flat-backdrop detection, consumed by the matte pipeline; private
// to the engine.

#include "engine/pixel/Image.h"
#include "engine/types/RGBAColor.h"

namespace zephrin {

struct FlatBackdrop {
    // The key matte at the source's size: black on the keyed backdrop, white
    // elsewhere, with a soft ramp at the border.
    Matte matte;
    // Share of the image the backdrop covers, 0 to 1, measured on a reduced grid.
    double fraction = 0;
    // Mean colour of the backdrop, sRGB 0 to 1, alpha 1.
    RGBAColor color;
    // Evenness: square root of the sum of the three channels' variances, on the
    // 0 to 1 scale. Small is flat.
    double sigma = 0;
};

} // namespace zephrin
