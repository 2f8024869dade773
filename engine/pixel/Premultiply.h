#pragma once
// Between premultiplied pixels (what Image holds) and straight (un-premultiplied)
// RGBA, the form colour filters work on.
//
// Rounding, fixed so that a round trip is stable:
//   straight    c = round(cp × 255 / a), halves up, at most 255; a = 0 gives 0.
//   premultiply cp = round(c × a / 255) (never a half).
// So (64, 32, 0, 128) un-premultiplies to (128, 64, 0, 128) (127.5 rounds up)
// and premultiplies back to (64, 32, 0, 128). Where alpha is small the straight
// colour is coarse (alpha 1 gives only 0 or 255): colour filters therefore
// un-premultiply in floating point inside the operation, not through bytes.

#include "engine/pixel/Image.h"
#include "engine/pixel/detail/Div255.h"

namespace zephrin {

constexpr uchar unpremultiplyChannel(uchar premultiplied, uchar alpha)
{
    if (alpha == 0)
        return 0;
    const int straight = (510 * premultiplied + alpha) / (2 * alpha);
    return uchar(straight > 255 ? 255 : straight);
}

constexpr uchar premultiplyChannel(uchar straight, uchar alpha)
{
    return uchar(detail::div255(straight * alpha));
}

// Straight RGBA (CV_8UC4) of the image's extent; the origin stays with the
// Image. Cost: one parallel table-lookup pass.
cv::Mat unpremultiplied(const Image& image);
// The same for one row of `pixels` premultiplied RGBA pixels, into `straight`:
// for a writer that converts row by row instead of holding a straight copy.
void unpremultiplyRow(const uchar* premultiplied, uchar* straight, int pixels);

// The other way for one row: straight RGBA into premultiplied, in place when
// both are the same row.
void premultiplyRow(const uchar* straight, uchar* premultiplied, int pixels);

// An Image from straight RGBA pixels (CV_8UC4) placed at `origin`.
// Cost: one parallel table-lookup pass.
Image premultiplied(const cv::Mat& straightRGBA, cv::Point origin = {0, 0});

} // namespace zephrin
