#pragma once
// Binarising a matte.
//
// Matte (CV_8UC1) in and out: 255 where the value (0 to 1) is above `threshold`,
// 0 elsewhere (so with 0.5, 128 and up become 255 and 127 and down 0). Keeps the
// extent and origin. Cost: one parallel table-lookup pass.

#include "engine/pixel/Image.h"

namespace zephrin {

Matte colorThreshold(const Matte& matte, double threshold);

} // namespace zephrin
