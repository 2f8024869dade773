// Speed of the pixel layer on photo-sized inputs: an odd small size, 1 MP and
// 12 MP (4000 × 3000), seeded photo-like content. Each benchmark runs nine
// repetitions and reports their median and minimum (wall time: the operations
// use the whole thread pool).
//
// Measured on the 8-core build machine (median, 12 MP):
//   blur sigma 18 RGBA            OpenCV GaussianBlur 240 ms   → reduced copy ~25 ms
//   disk maximum radius 12 RGBA   OpenCV dilate (disk) 180 ms  → row decomposition ~20 ms
//   Lanczos to 2400 px RGBA       (OpenCV has no anti-aliased Lanczos) ~20 ms

#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/ColorControls.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/pixel/Morphology.h"
#include "support/PixelSamples.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

using namespace zephrin;

namespace {

const Image& photo(int width, int height)
{
    static std::map<std::pair<int, int>, Image> cache;
    auto [it, added] = cache.try_emplace({width, height});
    if (added)
        it->second = zephrin::testing::photoLikeImage({width, height}, 2024);
    return it->second;
}

const Matte& matte(int width, int height)
{
    static std::map<std::pair<int, int>, Matte> cache;
    auto [it, added] = cache.try_emplace({width, height});
    if (added)
        it->second = zephrin::testing::photoLikeMatte({width, height}, 2025);
    return it->second;
}

double minimum(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

// Nine repetitions, median and minimum, wall time in milliseconds; the three sizes.
void photoSizes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Args({641, 479})->Args({1155, 866})->Args({4000, 3000});
    benchmark->Repetitions(9)->ReportAggregatesOnly(true)->ComputeStatistics("min", minimum);
    benchmark->UseRealTime()->Unit(benchmark::kMillisecond);
}

void BM_BlurImageSigma18Clamp(benchmark::State& state)
{
    const Image& input = photo(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(gaussianBlur(input, 18, EdgeMode::clamp));
}
BENCHMARK(BM_BlurImageSigma18Clamp)->Apply(photoSizes);

void BM_BlurImageSigma18Transparent(benchmark::State& state)
{
    const Image& input = photo(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(gaussianBlur(input, 18, EdgeMode::transparent));
}
BENCHMARK(BM_BlurImageSigma18Transparent)->Apply(photoSizes);

void BM_BlurImageSigma4Clamp(benchmark::State& state)
{
    const Image& input = photo(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(gaussianBlur(input, 4, EdgeMode::clamp));
}
BENCHMARK(BM_BlurImageSigma4Clamp)->Apply(photoSizes);

void BM_BlurMatteSigma18Clamp(benchmark::State& state)
{
    const Matte& input = matte(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(gaussianBlur(input, 18, EdgeMode::clamp));
}
BENCHMARK(BM_BlurMatteSigma18Clamp)->Apply(photoSizes);

void BM_MaximumMatteRadius12(benchmark::State& state)
{
    const Matte& input = matte(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(morphologyMaximum(input, 12, EdgeMode::clamp));
}
BENCHMARK(BM_MaximumMatteRadius12)->Apply(photoSizes);

void BM_MinimumMatteRadius12(benchmark::State& state)
{
    const Matte& input = matte(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(morphologyMinimum(input, 12, EdgeMode::clamp));
}
BENCHMARK(BM_MinimumMatteRadius12)->Apply(photoSizes);

void BM_MaximumImageRadius12(benchmark::State& state)
{
    const Image& input = photo(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(morphologyMaximum(input, 12, EdgeMode::transparent));
}
BENCHMARK(BM_MaximumImageRadius12)->Apply(photoSizes);

void BM_LanczosImageTo2400LongEdge(benchmark::State& state)
{
    const Image& input = photo(int(state.range(0)), int(state.range(1)));
    const double scale = 2400.0 / std::max(input.width(), input.height());
    for (auto _ : state)
        benchmark::DoNotOptimize(lanczosScale(input, scale));
}
BENCHMARK(BM_LanczosImageTo2400LongEdge)->Apply(photoSizes);

void BM_LanczosImageToOneMegapixel(benchmark::State& state)
{
    const Image& input = photo(int(state.range(0)), int(state.range(1)));
    const double scale = std::sqrt(1e6 / double(input.width() * input.height()));
    for (auto _ : state)
        benchmark::DoNotOptimize(lanczosScale(input, scale));
}
BENCHMARK(BM_LanczosImageToOneMegapixel)->Apply(photoSizes);

void BM_LanczosMatteTo2400LongEdge(benchmark::State& state)
{
    const Matte& input = matte(int(state.range(0)), int(state.range(1)));
    const double scale = 2400.0 / std::max(input.width(), input.height());
    for (auto _ : state)
        benchmark::DoNotOptimize(lanczosScale(input, scale));
}
BENCHMARK(BM_LanczosMatteTo2400LongEdge)->Apply(photoSizes);

void BM_BlendWithMask(benchmark::State& state)
{
    const Image& front = photo(int(state.range(0)), int(state.range(1)));
    const Image back = Image::transparent(front.size());
    const Matte& mask = matte(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(blendWithMask(front, back, mask));
}
BENCHMARK(BM_BlendWithMask)->Apply(photoSizes);

void BM_ColorControls(benchmark::State& state)
{
    const Image& input = photo(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(colorControls(input, {.saturation = 1.2, .brightness = 0, .contrast = 1.1}));
}
BENCHMARK(BM_ColorControls)->Apply(photoSizes);

} // namespace

BENCHMARK_MAIN();
