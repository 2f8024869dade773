// Speed of the pixel layer on photo-sized inputs: an odd small size, 1 MP and
// 12 MP (4000 × 3000), seeded photo-like content. Each benchmark runs nine
// repetitions and reports their median and minimum (wall time: the operations
// use the whole thread pool).
//
// Measured on the 8-core build machine, 12 MP, medians (quiet machine / with
// other builds loading it to 12–20):
//   blur sigma 18 RGBA, clamp     OpenCV GaussianBlur 240 ms  → reduced copy 28 / 50 ms
//   blur sigma 18 matte           OpenCV GaussianBlur 42 ms   → 4 / 8 ms
//   disk maximum radius 12 RGBA   OpenCV dilate (disk) 180 ms → row decomposition 30 / 30 ms
//   disk maximum radius 12 matte  OpenCV dilate (disk) 56 ms  → 4 / 11 ms
//   Lanczos to 2400 px RGBA       (no anti-aliased Lanczos in OpenCV) 31 / 20 ms
//   Lanczos to 1 MP RGBA          25 / 20 ms
// A new 12 MP RGBA buffer alone costs about 10 ms of page faults here.

#include "BenchHarness.h"
#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/ColorControls.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/pixel/Morphology.h"
#include "support/PixelSamples.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

using namespace zephrin;

namespace {

const std::vector<cv::Size> kSizes = {{641, 479}, {1155, 866}, {4000, 3000}};

template <class Value>
const Value& seeded(cv::Size size)
{
    static std::map<std::pair<int, int>, Value> cache;
    auto [it, added] = cache.try_emplace({size.width, size.height});
    if (added) {
        if constexpr (std::is_same_v<Value, Image>)
            it->second = zephrin::testing::photoLikeImage(size, 2024);
        else
            it->second = zephrin::testing::photoLikeMatte(size, 2025);
    }
    return it->second;
}

using bench::minimum;

// Registers `operation` on a seeded Image or Matte of each size: nine
// repetitions, median and minimum, wall time in milliseconds.
template <class Value, class Result>
void add(const std::string& name, std::function<Result(const Value&)> operation)
{
    for (const cv::Size size : kSizes) {
        const std::string label = name + "/" + std::to_string(size.width) + "x" + std::to_string(size.height);
        benchmark::RegisterBenchmark(label.c_str(),
                                     [size, operation](benchmark::State& state) {
                                         const Value& input = seeded<Value>(size);
                                         for (auto _ : state)
                                             benchmark::DoNotOptimize(operation(input));
                                     })
            ->Repetitions(9)
            ->ReportAggregatesOnly(true)
            ->ComputeStatistics("min", minimum)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
}

double longEdgeScale(const Image& image, double longEdge) { return longEdge / std::max(image.width(), image.height()); }

} // namespace

int main(int argc, char** argv)
{
    add<Image, Image>("BlurImageSigma18Clamp", [](const Image& in) { return gaussianBlur(in, 18, EdgeMode::clamp); });
    add<Image, Image>("BlurImageSigma18Transparent",
                      [](const Image& in) { return gaussianBlur(in, 18, EdgeMode::transparent); });
    add<Image, Image>("BlurImageSigma4Clamp", [](const Image& in) { return gaussianBlur(in, 4, EdgeMode::clamp); });
    add<Matte, Matte>("BlurMatteSigma18Clamp", [](const Matte& in) { return gaussianBlur(in, 18, EdgeMode::clamp); });
    add<Matte, Matte>("MaximumMatteRadius12", [](const Matte& in) { return morphologyMaximum(in, 12, EdgeMode::clamp); });
    add<Matte, Matte>("MinimumMatteRadius12", [](const Matte& in) { return morphologyMinimum(in, 12, EdgeMode::clamp); });
    add<Image, Image>("MaximumImageRadius12",
                      [](const Image& in) { return morphologyMaximum(in, 12, EdgeMode::transparent); });
    add<Image, Image>("LanczosImageTo2400LongEdge",
                      [](const Image& in) { return lanczosScale(in, longEdgeScale(in, 2400)); });
    add<Image, Image>("LanczosImageToOneMegapixel",
                      [](const Image& in) { return lanczosScale(in, std::sqrt(1e6 / in.size().area())); });
    add<Matte, Matte>("LanczosMatteTo1024Square", [](const Matte& in) { return resized(in, {1024, 1024}); });
    add<Image, Image>("BlendWithMask", [](const Image& in) {
        return blendWithMask(in, in, seeded<Matte>(in.size()));
    });
    add<Image, Image>("ColorControls",
                      [](const Image& in) { return colorControls(in, {.saturation = 1.2, .contrast = 1.1}); });

    return zephrin::bench::runBenchmarks(argc, argv);
}
