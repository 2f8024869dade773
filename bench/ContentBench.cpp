// Speed of the content libraries. Each benchmark runs nine repetitions and
// reports their median and minimum (wall time: rendering and encoding use the
// whole thread pool).
//
//   BM_RenderBackdrop/<i>    preset i of the catalogue at 2400 × 1600
//   BM_BackdropThumbnail     a preset's thumbnail once it is cached
//   BM_AddBackground         My Backgrounds' worker part of adding a
//                            12-megapixel picture: fingerprint, reduction,
//                            JPEG, thumbnail and the library write

#include "BenchHarness.h"
#include "content/backdrops/Backdrop.h"
#include "content/files/AtomicWrite.h"
#include "content/mybackgrounds/BackgroundPicture.h"
#include "content/mybackgrounds/MyBackground.h"
#include "support/PixelSamples.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>

using namespace zephrin;

namespace {

using bench::minimum;

void repeated(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Repetitions(9)->ReportAggregatesOnly(true)->ComputeStatistics("min", minimum);
    benchmark->UseRealTime()->Unit(benchmark::kMillisecond);
}

void BM_RenderBackdrop(benchmark::State& state)
{
    const Backdrop& backdrop = Backdrop::presets()[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(backdrop.id.toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(backdrop.render(2400, 1600));
}
BENCHMARK(BM_RenderBackdrop)->DenseRange(0, 25)->Apply(repeated);

void BM_BackdropThumbnail(benchmark::State& state)
{
    const Backdrop& backdrop = Backdrop::presets()[24];
    backdrop.thumbnail();
    for (auto _ : state)
        benchmark::DoNotOptimize(backdrop.thumbnail());
}
BENCHMARK(BM_BackdropThumbnail)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_AddBackground(benchmark::State& state)
{
    static const Image picture = zephrin::testing::photoLikeImage({4000, 3000}, 77);
    QTemporaryDir folder;
    QList<MyBackground> library(40);  // a library of some size to rewrite
    int n = 0;
    for (auto _ : state) {
        const QString id = QString::number(n++);
        const QString fingerprint = pictureFingerprint(picture);
        const auto bytes = writeBackgroundFiles(picture, folder.filePath(id + ".jpg"),
                                                folder.filePath(id + "-thumb.jpg"));
        library.prepend({id, "Photo", "imported", QDateTime::currentDateTimeUtc(), false, 4000, 3000,
                         bytes.value_or(0), std::nullopt, std::nullopt, fingerprint});
        writeAtomically(folder.filePath("library.json"), encodeLibrary(library));
    }
}
BENCHMARK(BM_AddBackground)->Apply(repeated);

} // namespace

int main(int argc, char** argv) { return zephrin::bench::runBenchmarks(argc, argv); }
