// The Remove Background road on a 12-megapixel JPEG photo, stage by stage and as
// a whole process. Target: zephrin-cutout, whole process, JPEG to PNG, 3.0 s.
//
// The photo is the sample that scripts/setup fetches (.cache/sample/coffee.png)
// stretched to 4000 × 3000, or, without it, a seeded synthetic scene.
//
// Measured medians (8 cores, other builds running): whole process 1.62 s;
// decode 127 ms, model load 663 ms (once per process), network 451 ms (the
// whole matte pipeline 483 ms), refinement with its render 104 ms, encode
// (PNG at 2400) 154 ms. Peak memory of the process about 1.2 GB.

#include "engine/isnet/CoreMLMatte.h"
#include "engine/matte/MatteEngine.h"
#include "output/service/CutoutService.h"
#include "SamplePhoto.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>

#include <filesystem>

using namespace zephrin;

namespace {

const QByteArray& photoJpeg()
{
    static const QByteArray bytes = [] {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(90);
        writer.write(bench::samplePhoto());
        return jpeg;
    }();
    return bytes;
}

const Image& decodedPhoto()
{
    static const Image image = *CutoutService::loadImage(photoJpeg());
    return image;
}

void decode(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CutoutService::loadImage(photoJpeg()));
}

// Once per process; the first call pays it all.
void modelLoad(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(&CoreMLMatte::shared().loadModel());
}

void network(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CoreMLMatte::shared().mask(decodedPhoto()));
}

void matte(benchmark::State& state)
{
    const MatteEngine engine;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.computeMatte(decodedPhoto(), MatteModel::isnet, std::nullopt));
}

void refinement(benchmark::State& state)
{
    const MatteEngine engine;
    const MatteBox box = engine.computeMatte(decodedPhoto(), MatteModel::isnet, std::nullopt);
    const cv::Rect extent(0, 0, decodedPhoto().width(), decodedPhoto().height());
    for (auto _ : state)
        benchmark::DoNotOptimize(
            engine.context().render(engine.applyMatteSettings(decodedPhoto(), box, MatteSettings{}), extent));
}

void encode(benchmark::State& state)
{
    const MatteEngine engine;
    const MatteBox box = engine.computeMatte(decodedPhoto(), MatteModel::isnet, std::nullopt);
    const Image cutout = engine.applyMatteSettings(decodedPhoto(), box, MatteSettings{});
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.renderData(cutout, ExportFormat::png, 2400, true, 92));
}

void wholeProcess(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("photo.jpg"));
    QFile file(input);
    file.open(QIODevice::WriteOnly);
    file.write(photoJpeg());
    file.close();
    const QString program = QString::fromStdString(
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "zephrin-cutout").string());
    for (auto _ : state) {
        QProcess process;
        process.start(program, {QStringLiteral("--overwrite"), input});
        if (!process.waitForFinished(120'000) || process.exitCode() != 0)
            state.SkipWithError("zephrin-cutout failed");
    }
}

} // namespace

BENCHMARK(decode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(modelLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(1);
BENCHMARK(network)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(matte)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(refinement)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(encode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(wholeProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

BENCHMARK_MAIN();
