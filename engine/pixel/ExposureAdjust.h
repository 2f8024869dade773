#pragma once
// Exposure in EV stops, as a camera would: linear light scaled by 2^ev.
//
// Image: CV_8UC4 premultiplied in and out. Each straight colour component is
// decoded from sRGB to linear light, multiplied by 2^ev, clipped at 1 and
// encoded again; alpha is untouched. +1 doubles the light, −1 halves it, 0
// changes nothing. Keeps the extent and origin.
// Cost: a 64 Ki-entry table over (alpha, channel), then one parallel lookup pass.

#include "engine/pixel/Image.h"

namespace zephrin {

Image exposureAdjust(const Image& image, double ev);

} // namespace zephrin
