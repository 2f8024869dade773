#pragma once
// One dominant colour of an image, as the selection palette reports it.

#include "engine/types/RGBAColor.h"

namespace zephrin {

struct PaletteColor {
    RGBAColor color;  // sRGB 0 to 1, alpha 1
    double share = 0; // fraction of the sampled pixels this colour stands for, 0 to 1

    friend bool operator==(const PaletteColor&, const PaletteColor&) = default;
};

} // namespace zephrin
