#pragma once
// Row primitives of the filters, written once with OpenCV's universal intrinsics
// (SSE2/NEON 128-bit, scalar elsewhere) so that the hot loops vectorise in every
// build type. All lengths are in bytes (channel values), not pixels.

#include <opencv2/core.hpp>

namespace zephrin::detail {

// acc[i] = max(acc[i], a[i])  or  min(acc[i], a[i]).
void maxInto(uchar* acc, const uchar* a, int length);
void minInto(uchar* acc, const uchar* a, int length);

// acc[i] = max(acc[i], a[i], b[i])  or  the minimum of the three.
void maxInto(uchar* acc, const uchar* a, const uchar* b, int length);
void minInto(uchar* acc, const uchar* a, const uchar* b, int length);

// dst[i] = saturate(round(sum over k of weights[k] * rows[k][i])).
void weightedRowSum(const uchar* const* rows, const float* weights, int taps, uchar* dst, int length);

// dst = saturate(round(sum over k of weights[k] * src[k * 4 .. k * 4 + 3])): one
// RGBA pixel from `taps` consecutive RGBA pixels.
void weightedPixelSum4(const uchar* src, const float* weights, int taps, uchar* dst);

// Lowers every colour channel to at most its alpha, restoring the premultiplied
// invariant after a filter with negative lobes.
void limitColourToAlpha(uchar* rgba, int pixels);

} // namespace zephrin::detail
