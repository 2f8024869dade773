#pragma once
// Resampling with a Lanczos kernel (three lobes).
//
// Image (CV_8UC4 premultiplied: resampled as premultiplied, the correct way for
// transparency) or Matte (CV_8UC1) in, the same type out.
// lanczosScale: scales about the plane's origin, by `scale` vertically and
//   scale × aspectRatio horizontally (Core Image's Lanczos scale transform).
//   The extent becomes the scaled extent with both ends rounded to whole pixels,
//   so a W × H image at origin (0, 0) becomes round(W × scale × aspectRatio) ×
//   round(H × scale) at (0, 0). A factor that is not positive and finite gives
//   an empty value.
// resized: stretches the image to exactly `size` (both sides at least 1); the
//   origin stays where it was.
// Edges: taps that fall outside the extent are dropped and the rest renormalised,
// so the border keeps its value and no transparent rim appears; outside the new
// extent the plane stays transparent (black).
// Downscaling widens the kernel by 1 / factor (anti-aliased, every source pixel
// counts); upscaling interpolates with 6 taps. The kernel's negative lobes can
// overshoot: results are clamped to 0 to 255, and colour to at most alpha.
// Cost: two separable parallel passes, 6 × max(1, 1 / factor) taps each; 4000 ×
// 3000 RGBA to 2400 × 1800 or to 1 MP takes 20 to 30 ms on 8 cores
// (bench/PixelBench.cpp).
// A result beyond 65536 pixels on a side throws std::length_error.
// At scale 1 (or to the size it has) the kernel would give back every pixel
// unchanged: the value itself is returned, its pixels shared, not copied.

#include "engine/pixel/Image.h"

namespace zephrin {

Image lanczosScale(const Image& image, double scale, double aspectRatio = 1);
Matte lanczosScale(const Matte& matte, double scale, double aspectRatio = 1);

Image resized(const Image& image, cv::Size size);
Matte resized(const Matte& matte, cv::Size size);

} // namespace zephrin
