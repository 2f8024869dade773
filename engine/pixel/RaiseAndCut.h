#pragma once
// A matte raised to one matte and then cut by another, value by value:
//   v' = min(255 − cut, max(raise, v)),
// so the cut wins where both are white.
//
// Mattes CV_8UC1 in and out, over the first matte's extent and origin. Where
// `raise` or `cut` does not reach, it reads as 0 and changes nothing. An empty
// matte comes back as it is. Cost: one parallel pass.

#include "engine/pixel/Image.h"

namespace zephrin {

Matte raisedAndCut(const Matte& matte, const Matte& raise, const Matte& cut);

} // namespace zephrin
