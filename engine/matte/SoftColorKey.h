#pragma once
// Keying one colour into a soft matte.
//
// In: RGBA bytes (CV_8UC4), colour used as stored (premultiplied, so transparent
// pixels count as black). Out: a CV_8UC1 matte at the input's size, 0 on the key
// colour, 255 far from it, a linear ramp between.
// With d the Euclidean distance of the pixel's (r, g, b) / 255 to the key (0 to 1
// scale), t = tolerance / 100 × 0.58 + 0.02 and soft = 0.35 × t, the ramp value
// is a = 0 up to d = t − soft, 1 from d = t + soft, (d − (t − soft)) / (2 × soft)
// between; the byte is a × 255 rounded half away from zero. At tolerance 25:
// t = 0.165, fully keyed below 0.10725, untouched from 0.22275.
// A pixel is backdrop when a is below one half, which is exactly when its byte
// is below kBackdropBelow (a = 0.5 gives 127.5, rounded to 128).
// The tolerance is clamped to 0 to 100 (NaN counts as 0); a key channel that is
// not finite counts as 0.
// Cost: one parallel pass; per pixel three table reads and a comparison of
// squared distances (thresholds converted so that the comparison is exact), a
// square root only on the ramp. About 2 ns a pixel on one core.

#include "engine/types/RGBAColor.h"

#include <opencv2/core.hpp>

namespace zephrin {

inline constexpr uchar kBackdropBelow = 128;

cv::Mat softColorKey(const cv::Mat& rgba, RGBAColor key, double tolerance);

} // namespace zephrin
