// Decoding a 12-megapixel JPEG into the engine's Image as a cutout loads it
// (upright, sRGB, within the load limits): libjpeg straight into the Image's
// buffer, against the road it replaced, Qt's reader into a QImage and then a
// converted copy. Two inputs: a seeded 4000 × 3000 scene written by Qt at
// quality 90 (baseline, 4:2:0), and the benchmarks' 12-megapixel photograph
// (bench::samplePhotoJpeg).
//
// Measured medians (8 cores, load average above 20 from other builds): scene
// 386 ms straight, 816 ms through a QImage; photo 589 ms and 1047 ms. Straight
// decoding writes RGBA rows where libjpeg makes them (no RGB-to-RGB32 pass, no
// QImage of 48 MB, no converted copy of it).
// Then the decoder's buffer came from the pixel pool, mapped in on every core
// before the decoder's first row (quiet machine, the code before and after,
// alternately, twice): scene 90.1, 89.1 → 63.8, 67.4 ms; photo 72.4, 72.5 →
// 47.7, 50.2 ms. A third of the decode had been the kernel clearing the
// fresh buffer's 12000 pages one fault at a time.

#include "BenchHarness.h"
#include "SamplePhoto.h"
#include "engine/codec/ImageRead.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>

using namespace zephrin;

namespace {

constexpr ReadLimits kLoad{8192, qint64(1) << 30, true, true};

QByteArray seededScene()
{
    QImage scene(4000, 3000, QImage::Format_RGB32);
    cv::Mat pixels(3000, 4000, CV_8UC4, scene.bits(), size_t(scene.bytesPerLine()));
    cv::RNG(20240611).fill(pixels, cv::RNG::UNIFORM, cv::Scalar(40, 70, 110, 255), cv::Scalar(90, 130, 190, 256));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(scene);
    return jpeg;
}

const QByteArray& input(bool photo)
{
    static const QByteArray scene = seededScene();
    return photo ? bench::samplePhotoJpeg() : scene;
}

void straightIntoTheImage(benchmark::State& state, bool photo)
{
    if (input(photo).isEmpty())
        return state.SkipWithError("no sample photo: run scripts/setup");
    for (auto _ : state)
        benchmark::DoNotOptimize(readImage(input(photo), kLoad));
}

void throughAQImage(benchmark::State& state, bool photo)
{
    if (input(photo).isEmpty())
        return state.SkipWithError("no sample photo: run scripts/setup");
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(input(photo));
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setAutoTransform(true);
        QImage image = reader.read();
        if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
            image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
        benchmark::DoNotOptimize(imageFromQImage(image));
    }
}

void repeated(benchmark::internal::Benchmark* benchmark) { zephrin::bench::repeated(benchmark, 15); }

} // namespace

BENCHMARK_CAPTURE(straightIntoTheImage, scene, false)->Apply(repeated);
BENCHMARK_CAPTURE(throughAQImage, scene, false)->Apply(repeated);
BENCHMARK_CAPTURE(straightIntoTheImage, photo, true)->Apply(repeated);
BENCHMARK_CAPTURE(throughAQImage, photo, true)->Apply(repeated);

int main(int argc, char** argv) { return zephrin::bench::runBenchmarks(argc, argv); }
