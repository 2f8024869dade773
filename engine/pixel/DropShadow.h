#pragma once
// A drop shadow: what an image's alpha covers, blurred, filled with one colour
// and moved by an offset. The compositor's subject shadow and the text layers'
// shadow and glow both come from here.
//
// Matte (CV_8UC1, the alpha of what casts the shadow) in; Image (CV_8UC4
// premultiplied) out, every pixel the colour premultiplied and scaled by the
// blurred alpha. Blur and edges as gaussianBlur (sigma is the Gaussian's
// standard deviation; EdgeMode::transparent grows the extent by
// blurReach(sigma), clamp keeps it). The result's origin then moves by `offset`
// (image space, y down: a positive y falls downwards). The offset is whole
// pixels: callers round, and the blur hides the half pixel.
// Cost: the blur, then one parallel pass to colour it (coloredMatte).

#include "engine/pixel/EdgeMode.h"
#include "engine/pixel/Image.h"
#include "engine/types/RGBAColor.h"

namespace zephrin {

Image dropShadow(const Matte& alpha, const RGBAColor& color, double sigma, cv::Point offset, EdgeMode edges);

} // namespace zephrin
