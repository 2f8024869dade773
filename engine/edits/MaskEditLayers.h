#pragma once
// The user's mask corrections, replayed into two grey layers at the source
// image's size. The refinement merges them into the matte per pixel as
// min(1 − erase, max(restore, matte)), so erase wins where both are white.

#include "engine/pixel/Image.h"

namespace zephrin {

struct MaskEditLayers {
    Matte erase;   // 255 = fully erased, 0 = untouched
    Matte restore; // 255 = fully restored, 0 = untouched
};

} // namespace zephrin
