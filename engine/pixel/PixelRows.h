#pragma once
// Row kernels of premultiplied RGBA compositing, vectorised with OpenCV's
// universal intrinsics. The pixel operations source-over, masking by a matte,
// blending through a mask and colouring a matte run on them, and an engine that
// fuses several of those steps into one pass over its rows calls them on rows
// of its own: the fused pass then gives the very bytes the operations give one
// after the other, without an image between them.
//
// Rows are 4 bytes a pixel (RGBA, premultiplied), mattes 1 byte a pixel;
// `pixels` counts pixels. `out` may be one of the inputs. Every product of two
// bytes is divided by 255 and rounded to the nearest (detail::div255).

#include <opencv2/core.hpp>

#include <array>

namespace zephrin::pixelRows {

// out = front over back: each channel front + back × (255 − front alpha) / 255,
// saturated at 255.
void over(const uchar* front, const uchar* back, uchar* out, int pixels);

// out = rgba × m / 255, every channel alpha included (maskedBy).
void masked(const uchar* rgba, const uchar* matte, uchar* out, int pixels);

// out = (front × m + back × (255 − m)) / 255, every channel (blendWithMask).
void blended(const uchar* front, const uchar* back, const uchar* matte, uchar* out, int pixels);

// One pixel (4 bytes) repeated.
void filled(const std::array<uchar, 4>& pixel, uchar* out, int pixels);

// The alpha of each pixel.
void alphaOf(const uchar* rgba, uchar* alpha, int pixels);

// out = a × b / 255 for each byte of two mattes (multiplyCompositing).
void product(const uchar* a, const uchar* b, uchar* out, int values);

// out = table[m]: a pixel for each matte value (256 pixels, 1024 bytes), as
// coloredMatte makes them.
void lookedUp(const uchar* matte, const uchar* table, uchar* out, int pixels);

} // namespace zephrin::pixelRows
