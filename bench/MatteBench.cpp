// Speed and memory of finding the subject in a 12-megapixel photograph
// (4000 × 3000): the IS-Net runner alone (model loaded beforehand), and the
// whole matte pipeline on the IS-Net road and on the subject lift's road.
// Inputs are seeded (argument "scene"): 0, a dark object on an unevenly lit
// texture (no flat backdrop: one inference); 1, a product with a soft shadow on
// a white sheet (a flat backdrop, but wiping it would cut into the subject as
// IS-Net sees it: one inference, no wipe); 2, an object on an even page (the
// backdrop is wiped and, being very flat, neutralised: IS-Net runs twice).
// Wall time, medians of five repetitions.
//
// Peak memory: the process's peak resident size is reset (clear_refs 5), one
// computeMatte runs, and VmHWM is read from /proc/self/status; it includes the
// loaded network and the input image. Run each case in a process of its own
// (--benchmark_filter=PeakMemory/scene:0/isnet:1): memory that earlier cases
// freed stays resident in the process and would count again.
//
// Measured figures are in the closing note of the change that added this file.

#include "BenchHarness.h"
#include "engine/isnet/CoreMLMatte.h"
#include "engine/isnet/RuntimeEnvironment.h"
#include "engine/matte/MatteEngine.h"
#include "support/ProductShot.h"
#include "support/Scenes.h"

#include <benchmark/benchmark.h>

#include <QLoggingCategory>

#include <fstream>
#include <map>
#include <string>

using namespace zephrin;

namespace {

enum Scene { darkObject, productShot, flatPage };

Image makeScene(Scene kind)
{
    const cv::Size size(4000, 3000);
    switch (kind) {
    case darkObject: return zephrin::testing::darkObjectOnTexture(size, 2024).image;
    case productShot: return zephrin::testing::productOnSheet(size, 2024);
    case flatPage: return zephrin::testing::objectOnFlatPage(size, 2024).image;
    }
    return {};
}

const Image& scene(Scene kind)
{
    static std::map<int, Image> cache;
    auto [it, added] = cache.try_emplace(kind);
    if (added)
        it->second = makeScene(kind);
    return it->second;
}

void twelveMegapixels(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg(darkObject)->Arg(productShot)->Arg(flatPage)->ArgName("scene");
    benchmark->Repetitions(5)->ReportAggregatesOnly(true)->Iterations(1);
    benchmark->UseRealTime()->Unit(benchmark::kMillisecond);
}

void loadNetwork()
{
    if (!CoreMLMatte::isAvailable())
        throw std::runtime_error("no ISNetGeneral.onnx: run scripts/setup");
    CoreMLMatte::shared().loadModel();
}

void BM_IsnetMask(benchmark::State& state)
{
    loadNetwork();
    const Image& image = scene(Scene(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CoreMLMatte::shared().mask(image));
}
BENCHMARK(BM_IsnetMask)->Apply(twelveMegapixels);

void BM_ComputeMatteIsnet(benchmark::State& state)
{
    loadNetwork();
    const Image& image = scene(Scene(state.range(0)));
    const MatteEngine engine;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.computeMatte(image, MatteModel::isnet));
}
BENCHMARK(BM_ComputeMatteIsnet)->Apply(twelveMegapixels);

void BM_ComputeMatteSubjectLift(benchmark::State& state)
{
    const Image& image = scene(Scene(state.range(0)));
    const MatteEngine engine;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.computeMatte(image, MatteModel::apple));
}
BENCHMARK(BM_ComputeMatteSubjectLift)->Apply(twelveMegapixels);

// The peak resident size in MiB since the last reset.
double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0; // kB
    return 0;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_ComputeMattePeakMemory(benchmark::State& state)
{
    const bool isnet = state.range(1) != 0;
    if (isnet)
        loadNetwork();
    const Image& image = scene(Scene(state.range(0)));
    const MatteEngine engine;
    double peak = 0;
    for (auto _ : state) {
        resetPeak();
        benchmark::DoNotOptimize(engine.computeMatte(image, isnet ? MatteModel::isnet : MatteModel::apple));
        peak = std::max(peak, peakMegabytes());
    }
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_ComputeMattePeakMemory)
    ->Args({darkObject, 1})
    ->Args({flatPage, 1})
    ->Args({darkObject, 0})
    ->ArgNames({"scene", "isnet"})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    zephrin::keepRuntimeTelemetryOff();
    return zephrin::bench::runBenchmarks(argc, argv);
}
