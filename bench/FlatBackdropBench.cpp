// Speed of the flat-backdrop probe and of flat-colour keying on an odd small
// size, 1 MP and 12 MP (4000 × 3000): a seeded product shot on a white sheet
// (the case the probe is for) and a seeded busy photograph (no backdrop). Nine
// repetitions each, median and minimum, wall time (the keying uses the whole
// thread pool).
//
// Measured on the 8-core build machine while other builds ran (median, 12 MP):
//   detectFlatBackdrop                     product shot 17 ms, busy photo 26–33 ms
//   flatColorMask connected, close gaps 20  product shot 79 ms, busy photo 82 ms
// Most of the probe is the colour key itself (about 2 ns a pixel on one core);
// the flood over runs takes under 1 ms. A pixel-by-pixel stack flood took about
// 25–50 ms alone, and 20 give-back passes of dilation plus masking about 80 ms
// where growing breadth first takes a few.

#include "BenchHarness.h"
#include "engine/matte/MatteEngine.h"
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

} // namespace

int main(int argc, char** argv) { return zephrin::bench::runBenchmarks(argc, argv); }
