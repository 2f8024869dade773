// renderData of a 12-megapixel cutout at the automation's long edge of 2400, per
// format, with the size of the file ("bytes"). Targets: PNG 0.08 s, JPEG 0.1 s,
// WebP (lossy) 0.4 s, HEIC 1.0 s.
//
// Beside them, for comparison in the same run: libwebp's one-call encoders on
// the same straight pixels (what WebP exports used before they ran on threads;
// the files are the same bytes), and the Lanczos downscale that every format
// pays first.
//
// Before PNG deflated on every core and WebP used threads (8 cores, other
// builds running): PNG 232 ms, JPEG 60 ms, WebP 1246 ms, HEIC 356 ms.

#include "BenchHarness.h"
#include "engine/codec/WebPEncoder.h"
#include "engine/matte/MatteEngine.h"
#include "engine/pixel/LanczosScale.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>
#include <webp/encode.h>

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
    QByteArray bytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = engine.renderData(cutout, format, 2400, transparent, quality));
    state.counters["bytes"] = double(bytes.size());
}

// The reference for WebP: libwebp's one-call encoder on the same straight
// pixels (without the downscale, which is timed apart as "downscale").
void webpOneCall(benchmark::State& state, double quality)
{
    const Image picture = lanczosScale(twelveMegapixels(), 0.6, 1);
    cv::Mat rgba(picture.pixels.size(), CV_8UC4);
    picture.pixels.forEach<cv::Vec4b>([&](const cv::Vec4b& p, const int* at) {
        rgba.at<cv::Vec4b>(at[0], at[1]) = {WebPEncoder::straightChannel(p[0], p[3]),
                                            WebPEncoder::straightChannel(p[1], p[3]),
                                            WebPEncoder::straightChannel(p[2], p[3]), p[3]};
    });
    std::size_t size = 0;
    for (auto _ : state) {
        uint8_t* output = nullptr;
        size = quality >= 99.5 ? WebPEncodeLosslessRGBA(rgba.data, rgba.cols, rgba.rows, int(rgba.step), &output)
                               : WebPEncodeRGBA(rgba.data, rgba.cols, rgba.rows, int(rgba.step), float(quality), &output);
        WebPFree(output);
    }
    state.counters["bytes"] = double(size);
}

void downscale(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lanczosScale(twelveMegapixels(), 0.6, 1));
}

// The PNG of the whole 12-megapixel picture, which a drag out of the canvas
// writes before the drag starts.
void dragOutPng(benchmark::State& state)
{
    const MatteEngine engine;
    std::optional<QByteArray> bytes;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = engine.encodeImage(twelveMegapixels()));
    state.counters["bytes"] = bytes ? double(bytes->size()) : 0;
}

void repeated(benchmark::internal::Benchmark* benchmark) { zephrin::bench::repeated(benchmark, 9); }

} // namespace

BENCHMARK_CAPTURE(renderDataAt2400, png, ExportFormat::png, true, 92.0)->Apply(repeated);
BENCHMARK_CAPTURE(renderDataAt2400, pngOpaque, ExportFormat::png, false, 92.0)->Apply(repeated);
BENCHMARK_CAPTURE(renderDataAt2400, jpeg, ExportFormat::jpg, false, 92.0)->Apply(repeated);
BENCHMARK_CAPTURE(renderDataAt2400, webpLossy, ExportFormat::webp, true, 92.0)->Apply(repeated);
BENCHMARK_CAPTURE(renderDataAt2400, webpLossless, ExportFormat::webp, true, 100.0)->Apply(repeated);
BENCHMARK_CAPTURE(renderDataAt2400, heic, ExportFormat::heic, true, 92.0)->Apply(repeated);
BENCHMARK_CAPTURE(webpOneCall, lossy, 92.0)->Apply(repeated);
BENCHMARK_CAPTURE(webpOneCall, lossless, 100.0)->Apply(repeated);
BENCHMARK(downscale)->Apply(repeated);
BENCHMARK(dragOutPng)->Apply(repeated);

int main(int argc, char** argv) { return zephrin::bench::runBenchmarks(argc, argv); }
