// Speed of compositing a 12-megapixel cutout (4000 × 3000) and of drawing text
// layers, on seeded inputs. Each benchmark runs nine repetitions and reports
// their median and minimum (wall time: the pixel layer uses the whole thread
// pool).
//
// Measured medians on the 8-core build machine, shared with other builds (load
// 6 to 20, so wall times vary):
//   composite, defaults                          14 … 27 ms   (target 150 ms)
//   composite, everything (outline, shadow, ...) 346 … 561 ms (target 1 s; 852 ms
//     before text was drawn onto the rendered canvas and colour mattes made in one pass)
//   composite, edge blend and shadow             316 … 579 ms
//   renderLayers, five layers over 2400 × 1800   37 … 49 ms   (target 150 ms; 134 ms
//     when layers were painted in RGBA byte order, which QPainter paints 6 × slower)

#include "BenchHarness.h"
#include "content/backdrops/Backdrop.h"
#include "engine/matte/MatteEngine.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/text/TextRenderer.h"
#include "support/PixelSamples.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <functional>

using namespace zephrin;

namespace {

const cv::Size kPhoto(4000, 3000);

const Image& source()
{
    static const Image photo = zephrin::testing::photoLikeImage(kPhoto, 2024);
    return photo;
}

// The photo with a soft-edged subject: a large ellipse and a box.
const Image& cutout()
{
    static const Image cut = [] {
        cv::Mat subject(kPhoto, CV_8UC1, cv::Scalar(0));
        cv::ellipse(subject, {1800, 1600}, {1300, 1100}, 0, 0, 360, cv::Scalar(255), cv::FILLED, cv::LINE_AA);
        cv::rectangle(subject, cv::Rect(2600, 600, 900, 1800), cv::Scalar(255), cv::FILLED);
        return maskedBy(source(), gaussianBlur(Matte(subject), 2, EdgeMode::clamp));
    }();
    return cut;
}

const Image& backgroundPicture()
{
    static const Image picture = zephrin::testing::photoLikeImage({3000, 2000}, 77);
    return picture;
}

TextLayer textLayer(const QString& text, double x, double y)
{
    TextLayer layer;
    layer.text = text;
    layer.x = x;
    layer.y = y;
    layer.outline = 0.06;
    layer.effect = QStringLiteral("shadow");
    return layer;
}

using bench::minimum;

void repeated(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Repetitions(9)->ReportAggregatesOnly(true)->ComputeStatistics("min", minimum);
    benchmark->UseRealTime()->Unit(benchmark::kMillisecond);
}

void BM_CompositeDefaults(benchmark::State& state)
{
    const MatteEngine engine;
    const CompositeSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.composite(cutout(), source(), std::nullopt, std::nullopt, settings));
}
BENCHMARK(BM_CompositeDefaults)->Apply(repeated);

void BM_CompositeEverything(benchmark::State& state)
{
    const MatteEngine engine;
    CompositeSettings settings;
    settings.shadowEnabled = true;
    settings.outlineEnabled = true;
    settings.outlineWidth = 12;
    settings.backgroundMode = BackgroundMode::image;
    settings.backgroundBlur = 20;
    settings.edgeBlend = 60;  // switched off by the outline, as the user would find it
    settings.shapeCrop = ShapeCrop::rounded;
    settings.texts = {textLayer(QStringLiteral("Summer Sale"), 0.5, 0.15),
                      textLayer(QStringLiteral("Today only"), 0.5, 0.85)};
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.composite(cutout(), source(), backgroundPicture(), std::nullopt, settings));
}
BENCHMARK(BM_CompositeEverything)->Apply(repeated);

// The same without the outline, so that the edge blend runs.
void BM_CompositeEdgeBlend(benchmark::State& state)
{
    const MatteEngine engine;
    CompositeSettings settings;
    settings.shadowEnabled = true;
    settings.backgroundMode = BackgroundMode::image;
    settings.backgroundBlur = 20;
    settings.edgeBlend = 60;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.composite(cutout(), source(), backgroundPicture(), std::nullopt, settings));
}
BENCHMARK(BM_CompositeEdgeBlend)->Apply(repeated);

// The editor's steps as the engines see them: the composite without text,
// then the subject's bounds and the white share of the picture, which the
// editor measures after every composite.
void editorComposite(benchmark::State& state, const CompositeSettings& settings,
                     const std::function<std::optional<Image>()>& background)
{
    const MatteEngine engine;
    const Image& subject = cutout();
    const Image& photo = source();
    for (auto _ : state) {
        const Image picture = engine.composite(subject, photo, background(), std::nullopt, settings);
        benchmark::DoNotOptimize(MatteEngine::alphaBounds(subject));
        benchmark::DoNotOptimize(MatteEngine::whiteFraction(picture));
    }
}

CompositeSettings onColour()
{
    CompositeSettings settings;
    settings.backgroundMode = BackgroundMode::color;  // the edge blend at its default, 60
    return settings;
}

// Background colour chosen.
void BM_EditorBackgroundColour(benchmark::State& state)
{
    editorComposite(state, onColour(), [] { return std::nullopt; });
}
BENCHMARK(BM_EditorBackgroundColour)->Apply(repeated);

// The shadow's softness dragged to its last value (the drag's one engine run).
void BM_EditorShadowDrag(benchmark::State& state)
{
    CompositeSettings settings = onColour();
    settings.shadowEnabled = true;
    settings.shadowBlur = 48;
    editorComposite(state, settings, [] { return std::nullopt; });
}
BENCHMARK(BM_EditorShadowDrag)->Apply(repeated);

// A generated backdrop picked: rendered at the document's aspect with a long
// edge of 2400, as the editor asks for it, then composited behind the subject.
void BM_EditorGeneratedBackdrop(benchmark::State& state)
{
    CompositeSettings settings;
    settings.backgroundMode = BackgroundMode::image;
    editorComposite(state, settings, [] { return Backdrop::presets().front().render(2400, 1800); });
}
BENCHMARK(BM_EditorGeneratedBackdrop)->Apply(repeated);

void BM_RenderFiveLayers(benchmark::State& state)
{
    static const Image picture = zephrin::testing::photoLikeImage({2400, 1800}, 5);
    QList<TextLayer> layers;
    for (int i = 0; i < 5; ++i)
        layers.append(textLayer(QStringLiteral("Layer number %1").arg(i + 1), 0.5, 0.1 + 0.2 * i));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextRenderer::renderLayers(layers, picture, false));
}
BENCHMARK(BM_RenderFiveLayers)->Apply(repeated);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // text needs Qt's font database
    return zephrin::bench::runBenchmarks(argc, argv);
}
