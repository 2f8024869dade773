// Per-pixel textures of the working bitmap: mottling and marble. Both run
// row-parallel; each pixel depends only on its position, so the result does not
// depend on how the rows are split.

#include "content/backdrops/BackdropNoise.h"
#include "content/backdrops/BackdropStyleDrawing.h"

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zephrin {

namespace {

// A colour value 0 to 1 as a byte: scaled, clamped, truncated.
uchar byteOf(double value)
{
    return static_cast<uchar>(std::clamp(value * 255.0, 0.0, 255.0));
}

template <typename PerPixel>
void forEveryPixel(cv::Mat& pixels, PerPixel perPixel)
{
    cv::parallel_for_(cv::Range(0, pixels.rows), [&](const cv::Range& rows) {
        for (int y = rows.start; y < rows.end; ++y) {
            auto* row = pixels.ptr<cv::Vec4b>(y);
            for (int x = 0; x < pixels.cols; ++x)
                perPixel(x, y, row[x]);
        }
    });
}

double power16(double v)
{
    const double v2 = v * v;
    const double v4 = v2 * v2;
    const double v8 = v4 * v4;
    return v8 * v8;
}

} // namespace

void mottle(BackdropCanvas& canvas, double strength, std::uint64_t seed)
{
    const BackdropNoise noise(seed);
    const double longSide = std::max(canvas.width(), canvas.height());
    forEveryPixel(canvas.pixels, [&](int x, int y, cv::Vec4b& pixel) {
        const double n = noise.fbm(6 * x / longSide, 6 * y / longSide, 4);
        const double m = 1 + 2 * (n - 0.5) * strength;
        for (int c = 0; c < 3; ++c)
            pixel[c] = byteOf(pixel[c] / 255.0 * m);
        pixel[3] = 255;
    });
}

void paintMarble(BackdropCanvas& canvas, const RGBAColor& base, const RGBAColor& vein, std::uint64_t seed)
{
    const BackdropNoise noise(seed);
    const double longSide = std::max(canvas.width(), canvas.height());
    constexpr double twoPi = 2 * std::numbers::pi;
    const double baseColor[3] = {base.r, base.g, base.b};
    const double veinColor[3] = {vein.r, vein.g, vein.b};
    forEveryPixel(canvas.pixels, [&](int x, int y, cv::Vec4b& pixel) {
        const double fx = x / longSide;
        const double fy = y / longSide;
        const double t1 = noise.fbm(2.2 * fx, 2.2 * fy, 6);
        const double s1 = std::sin(twoPi * (0.6 * fy + 1.1 * fx + 1.6 * t1));
        const double t2 = noise.fbm(3 * fx + 11, 3 * fy + 5, 5);
        const double s2 = std::sin(twoPi * (1.6 * fy - 0.5 * fx + 1.6 * t2));
        // Broad main veins with a faint halo, and thin secondary veins.
        const double a1 = 1 - std::abs(s1);
        const double a2 = 1 - std::abs(s2);
        const double a2pow16 = power16(a2);
        const double a2pow50 = a2pow16 * a2pow16 * a2pow16 * a2 * a2;
        const double v = std::max(0.6 * power16(a1) + 0.08 * a1 * a1 * a1, 0.3 * a2pow50);
        const double t3 = noise.fbm(4 * fx + 7, 4 * fy + 3, 4);
        const double shade = 1 + 0.1 * (t3 - 0.5);
        for (int c = 0; c < 3; ++c) {
            const double shaded = baseColor[c] * shade;
            pixel[c] = byteOf(shaded + v * (veinColor[c] - shaded));
        }
        pixel[3] = 255;
    });
}

} // namespace zephrin
