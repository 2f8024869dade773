// Speed of the flat-backdrop probe and of flat-colour keying on an odd small
// size, 1 MP and 12 MP (4000 × 3000): a seeded product shot on a white sheet
// (the case the probe is for) and a seeded busy photograph (no backdrop). Nine
// repetitions each, median and minimum, wall time (the keying uses the whole
// thread pool).
//
// 12 MP on the 8-core build machine (median; the commit before and this one
// alternated, twice, in one sitting):
//   detectFlatBackdrop          product shot 13.9, 13.4 → 9.1, 8.2 ms;
//                               busy photo 11.9, 12.1 → 6.3, 5.8 ms
//   scene corner probes (four)  137, 143 → 58.5, 51.8 ms
//   flatColorMask connected, close gaps 20: unchanged, 50–73 ms
// The probe used to key every pixel, cut the key into runs and flood them
// one run after another. It now tells backdrop from the squared distance
// alone, branch-free, while cutting the runs; floods the runs by union-find
// in bands of rows side by side; and keys only the reached backdrop and its
// ring. On a busy photo the flood had cost most (half a million runs).

#include "BenchHarness.h"
#include "SamplePhoto.h"
#include "engine/matte/MatteEngine.h"
#include "engine/pixel/Image.h"
#include "support/PixelSamples.h"
#include "support/ProductShot.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <tuple>

using namespace zephrin;

namespace {

enum Scene { productShot, busyPhoto };

const Image& scene(Scene kind, int width, int height)
{
    static std::map<std::tuple<int, int, int>, Image> cache;
    auto [it, added] = cache.try_emplace({kind, width, height});
    if (added)
        it->second = kind == productShot ? zephrin::testing::productOnSheet({width, height}, 2024)
                                         : zephrin::testing::photoLikeImage({width, height}, 2024);
    return it->second;
}

using bench::minimum;

void photoSizes(benchmark::internal::Benchmark* benchmark)
{
    for (int kind : {productShot, busyPhoto})
        benchmark->Args({641, 479, kind})->Args({1155, 866, kind})->Args({4000, 3000, kind});
    benchmark->ArgNames({"w", "h", "busy"});
    benchmark->Repetitions(9)->ReportAggregatesOnly(true)->ComputeStatistics("min", minimum);
    benchmark->UseRealTime()->Unit(benchmark::kMillisecond);
}

const Image& input(const benchmark::State& state)
{
    return scene(Scene(state.range(2)), int(state.range(0)), int(state.range(1)));
}

void BM_DetectFlatBackdrop(benchmark::State& state)
{
    const Image& image = input(state);
    const MatteEngine engine;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.detectFlatBackdrop(image, 0.15, 0.06));
}
BENCHMARK(BM_DetectFlatBackdrop)->Apply(photoSizes);

void BM_FlatColorMaskConnectedCloseGaps20(benchmark::State& state)
{
    const Image& image = input(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(MatteEngine::flatColorMask(image, 25, true, 20));
}
BENCHMARK(BM_FlatColorMaskConnectedCloseGaps20)->Apply(photoSizes);

// The scene fallback's probes on the sample photo (a scene with no single
// subject): one per distinct corner colour, in order, as the pipeline runs them.
void BM_SceneCornerProbes(benchmark::State& state)
{
    const Image image = imageFromQImage(bench::samplePhoto());
    const std::vector<RGBAColor> corners = MatteEngine::cornerColors(image);
    const MatteEngine engine;
    for (auto _ : state)
        for (const RGBAColor& corner : corners)
            benchmark::DoNotOptimize(engine.detectFlatBackdrop(image, 0.02, 0.1, corner));
    state.SetLabel(bench::samplePhotoDescription().toStdString());
}
BENCHMARK(BM_SceneCornerProbes)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", minimum)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return zephrin::bench::runBenchmarks(argc, argv); }
