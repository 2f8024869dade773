// renderData of a 12-megapixel cutout at the automation's long edge of 2400, per
// format. Targets: PNG 0.25 s, JPEG 0.1 s, WebP (lossy) 0.4 s, HEIC 1.0 s.
//
// Measured medians (8 cores, other builds running): PNG 232 ms, JPEG 60 ms,
// WebP 1246 ms, HEIC 356 ms. The Lanczos downscale takes about 40 ms of each.
// WebP misses: libwebp's one-call lossy encoder runs its method 4 on one thread
// (the alpha plane adds about a third); the library's full interface with
// method 0 and threads would encode the same picture in about 0.2 s.

#include "engine/matte/MatteEngine.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

#include <cmath>

using namespace zephrin;

namespace {

// A seeded photo-like cutout: colour gradients with sensor-like noise inside a
// soft-edged ellipse, transparent around it. Premultiplied.
Image photoCutout(int width, int height)
{
    cv::Mat straight(height, width, CV_8UC4);
    cv::Mat noise(height, width, CV_8SC3);
    cv::RNG rng(12345);
    rng.fill(noise, cv::RNG::NORMAL, 0, 6);
    const double cx = width / 2.0, cy = height / 2.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double d = std::hypot((x - cx) / (0.4 * width), (y - cy) / (0.45 * height));
            const double alpha = std::clamp((1.02 - d) / 0.04, 0.0, 1.0);
            const auto n = noise.at<cv::Vec<schar, 3>>(y, x);
            const auto channel = [&](double base, int k) {
                return uchar(std::clamp(base + n[k], 0.0, 255.0) * alpha);
            };
            straight.at<cv::Vec4b>(y, x) = {channel(60 + 150.0 * x / width, 0), channel(180 - 120.0 * y / height, 1),
                                            channel(90 + 40 * std::sin(x / 80.0), 2), uchar(255 * alpha)};
        }
    }
    return Image(straight);
}

const Image& twelveMegapixels()
{
    static const Image image = photoCutout(4000, 3000);
    return image;
}

void renderDataAt2400(benchmark::State& state, ExportFormat format, bool transparent, double quality)
{
    const MatteEngine engine;
    const Image& cutout = twelveMegapixels();
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.renderData(cutout, format, 2400, transparent, quality));
}

} // namespace

BENCHMARK_CAPTURE(renderDataAt2400, png, ExportFormat::png, true, 92.0);
BENCHMARK_CAPTURE(renderDataAt2400, jpeg, ExportFormat::jpg, false, 92.0);
BENCHMARK_CAPTURE(renderDataAt2400, webpLossy, ExportFormat::webp, true, 92.0);
BENCHMARK_CAPTURE(renderDataAt2400, heic, ExportFormat::heic, true, 92.0);

BENCHMARK_MAIN();
