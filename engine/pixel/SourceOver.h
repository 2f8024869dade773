#pragma once
// Porter–Duff source-over: one image laid over another.
//
// Images CV_8UC4 premultiplied in and out:
//   out = foreground + background × (1 − foreground alpha),
// each channel rounded to the nearest byte. The result covers the union of the
// two extents; outside its extent each image is transparent.
// Cost: one parallel pass over the union.

#include "engine/pixel/Image.h"

namespace zephrin {

Image sourceOver(const Image& foreground, const Image& background);

} // namespace zephrin
