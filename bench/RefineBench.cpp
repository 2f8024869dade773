// Refinement, mask edit replay and paint rendering at 12 megapixels
// (4000 × 3000), on seeded synthetic inputs. Prints medians of repeated runs.

#include "BenchHarness.h"
#include "engine/edits/ApplyMaskEdits.h"
#include "engine/matte/MatteEngine.h"
#include "engine/paint/PaintLayers.h"
#include "support/PixelSamples.h"

#include <QLoggingCategory>
#include <benchmark/benchmark.h>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <random>

using namespace zephrin;

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

Image source()
{
    static const Image image = testing::photoLikeImage({kWidth, kHeight}, 12345);
    return image;
}

// A soft-edged subject touching the bottom border, with a few enclosed holes.
Matte matte()
{
    static const Matte soft = [] {
        cv::Mat grey(kHeight, kWidth, CV_8UC1, cv::Scalar(0));
        cv::ellipse(grey, {2000, 1900}, {1400, 1300}, 0, 0, 360, cv::Scalar(255), cv::FILLED);
        for (int i = 0; i < 6; ++i)
            cv::circle(grey, {1200 + 300 * i, 1700}, 60 + 10 * i, cv::Scalar(0), cv::FILLED);
        cv::GaussianBlur(grey, grey, {0, 0}, 3);
        return Matte(grey);
    }();
    return soft;
}

std::vector<QPointF> randomWalk(std::mt19937& random, int steps, double stepLength)
{
    std::uniform_real_distribution<double> x(0, kWidth), y(0, kHeight), turn(-0.6, 0.6);
    std::vector<QPointF> points{{x(random), y(random)}};
    double heading = turn(random) * 5;
    for (int i = 1; i < steps; ++i) {
        heading += turn(random);
        points.push_back(points.back() + QPointF(std::cos(heading), std::sin(heading)) * stepLength);
    }
    return points;
}

void applyMatteSettings(benchmark::State& state, MatteSettings settings)
{
    const MatteEngine engine;
    const MatteBox box(matte(), RGBAColor{0.95, 0.95, 0.93, 1});
    const Image image = source();
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.applyMatteSettings(image, box, settings));
}

void BM_ApplyMatteSettings_EditorDefaults(benchmark::State& state)
{
    applyMatteSettings(state, MatteSettings{}); // smooth, feather 0.6, decontaminate 30
}

// The editor's feather drag as the engines see it: one refine at the drag's
// last value, then the cutout's bounds and white share, which the editor
// measures after every refine (the composite then takes its fast road).
void BM_EditorFeatherDrag(benchmark::State& state)
{
    const MatteEngine engine;
    const MatteBox box(matte());
    MatteSettings settings;
    settings.feather = 4.6;
    const Image image = source();
    for (auto _ : state) {
        const Image cutout = engine.applyMatteSettings(image, box, settings);
        benchmark::DoNotOptimize(MatteEngine::alphaBounds(cutout));
        benchmark::DoNotOptimize(MatteEngine::whiteFraction(cutout));
    }
}

void BM_ApplyMatteSettings_FillHolesDetail(benchmark::State& state)
{
    MatteSettings settings;
    settings.fillHoles = true;
    settings.edgeMode = EdgeRefineMode::detail;
    applyMatteSettings(state, settings);
}

void BM_ApplyMaskEdits_50StrokesLassoColourKey(benchmark::State& state)
{
    std::mt19937 random(7);
    std::vector<MaskEditOp> ops;
    for (int i = 0; i < 50; ++i)
        ops.push_back(MaskStroke{i % 3 != 0, i % 5 == 0 ? BrushTip::square : BrushTip::round, 80, 0.7,
                                 randomWalk(random, 40, 20)});
    ops.push_back(MaskShape{SelectionKind::lasso, randomWalk(random, 200, 30), false});
    ops.push_back(MaskColorKey{{{0.5, 0.4, 0.47, 1}, {0.2, 0.6, 0.5, 1}}, 20, false, std::nullopt, {}});
    const Image image = source();
    const RGBABitmap bitmap{kWidth, kHeight,
                            std::vector<std::uint8_t>(image.pixels.datastart, image.pixels.dataend)};
    for (auto _ : state)
        benchmark::DoNotOptimize(applyMaskEdits(ops, kWidth, kHeight, bitmap));
}

void BM_PaintLayers_20StrokesRadialGradient(benchmark::State& state)
{
    std::mt19937 random(11);
    std::vector<PaintOp> ops;
    for (int i = 0; i < 20; ++i) {
        PaintStroke stroke;
        stroke.color = {0.9, 0.2, 0.3, 1};
        stroke.blend = i % 2 ? PaintBlend::solid : PaintBlend::color;
        stroke.opacity = 0.8;
        stroke.size = 80;
        stroke.hardness = 0.6;
        stroke.points = randomWalk(random, 40, 20);
        ops.push_back(stroke);
    }
    PaintGradient radial;
    radial.kind = GradientKind::radial;
    radial.from = {2000, 1500};
    radial.to = {3500, 1500};
    radial.start = {1, 1, 0, 1};
    radial.end = {0, 0.4, 1, 0.5};
    radial.opacity = 0.7;
    ops.push_back(radial);
    for (auto _ : state)
        benchmark::DoNotOptimize(PaintLayers::render(ops, kWidth, kHeight));
}

void configure(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(9)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ApplyMatteSettings_EditorDefaults)->Apply(configure);
BENCHMARK(BM_EditorFeatherDrag)->Apply(configure);
BENCHMARK(BM_ApplyMatteSettings_FillHolesDetail)->Apply(configure);
BENCHMARK(BM_ApplyMaskEdits_50StrokesLassoColourKey)->Apply(configure);
BENCHMARK(BM_PaintLayers_20StrokesRadialGradient)->Apply(configure);

} // namespace

int main(int argc, char** argv) { return zephrin::bench::runBenchmarks(argc, argv); }
