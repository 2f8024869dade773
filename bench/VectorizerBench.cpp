// Vectorizer.trace on a 2048-pixel cutout with 200 contours, as a silhouette
// and in 8 colour layers, side by side with the reference tracer potrace on
// the same masks: its library (same process, mask packing included) and its
// command-line program writing SVG from a PBM file (process start included).
//
// Counters: segments = drawing commands of the outlines (ours: one per cubic
// or straight segment; potrace: one per curve, two per corner, as its SVG
// writes them), svg_bytes = size of the SVG document.
//
// Measured (8-core build machine under load, medians of 10): silhouette at
// detail 0.5 in 22 ms with 1,338 segments and 62.7 kB of SVG; potrace's library
// 25 ms with 2,482 segments, its program 38-52 ms for 62.3 kB; 8 colour layers
// (6 of them keep contours) in 129 ms.

#include "BenchHarness.h"
#include "engine/pixel/Image.h"
#include "output/vector/Vectorizer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#ifdef ZEPHRIN_HAVE_POTRACE
#include <potracelib.h>
#endif

using namespace zephrin;

namespace {

constexpr int kSide = 2048;
constexpr int kGrid = 10;   // 10 x 10 rings, each an outline and a hole: 200 contours

// Eight well separated colours: the corners of the RGB cube.
cv::Vec4b cubeCorner(int index)
{
    return {static_cast<uchar>(index & 1 ? 230 : 25), static_cast<uchar>(index & 2 ? 230 : 25),
            static_cast<uchar>(index & 4 ? 230 : 25), 255};
}

// Seeded wobbly rings on transparency, opaque inside: each ring's outer and
// inner radius vary with the angle like a hand-cut shape. With `colours` each
// ring has one of eight flat colours, otherwise all are black.
Image ringsCutout(bool colours)
{
    std::mt19937 random(2048);
    std::uniform_real_distribution<double> phase(0, 2 * M_PI);
    std::uniform_real_distribution<double> share(0.7, 0.95);
    cv::Mat pixels(kSide, kSide, CV_8UC4, cv::Scalar(0, 0, 0, 0));
    const double cell = static_cast<double>(kSide) / kGrid;
    for (int gy = 0; gy < kGrid; ++gy)
        for (int gx = 0; gx < kGrid; ++gx) {
            const double cx = (gx + 0.5) * cell, cy = (gy + 0.5) * cell;
            const double outer = cell * 0.5 * share(random) * 0.85, inner = outer * 0.45;
            const double p1 = phase(random), p2 = phase(random);
            const int lobes = 3 + (gx + gy) % 5;
            const cv::Vec4b colour = colours ? cubeCorner(gx + gy * kGrid) : cv::Vec4b{0, 0, 0, 255};
            for (int y = static_cast<int>(cy - cell / 2); y < static_cast<int>(cy + cell / 2); ++y)
                for (int x = static_cast<int>(cx - cell / 2); x < static_cast<int>(cx + cell / 2); ++x) {
                    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                    const double r = std::hypot(dx, dy), a = std::atan2(dy, dx);
                    const double ro = outer * (1 + 0.12 * std::sin(lobes * a + p1));
                    const double ri = inner * (1 + 0.2 * std::sin(2 * a + p2));
                    if (r <= ro && r >= ri)
                        pixels.at<cv::Vec4b>(y, x) = colour;
                }
        }
    return Image(pixels);
}

TraceOptions options(double detail, int colors)
{
    TraceOptions o;
    o.source = TraceSource::shape;
    o.traceLongEdge = kSide;
    o.colors = colors;
    o.detail = detail;
    o.minimumArea = 6;
    return o;
}

struct Counts {
    std::size_t layers = 0, contours = 0, segments = 0;
};

Counts countsOf(const TraceResult& result)
{
    Counts c;
    c.layers = result.layers.size();
    for (const auto& layer : result.layers) {
        c.contours += layer.contours.size();
        for (const auto& contour : layer.contours)
            c.segments += contour.segments.size();
    }
    return c;
}

void reportCounts(benchmark::State& state, const Counts& c)
{
    state.counters["layers"] = static_cast<double>(c.layers);
    state.counters["contours"] = static_cast<double>(c.contours);
    state.counters["segments"] = static_cast<double>(c.segments);
}

void reportSvgBytes(benchmark::State& state, std::size_t bytes)
{
    state.counters["svg_bytes"] = static_cast<double>(bytes);
}

// --- Ours ------------------------------------------------------------------

void runTrace(benchmark::State& state, const Image& cutout, const TraceOptions& o)
{
    const Vectorizer vectorizer;
    TraceResult result;
    for (auto _ : state) {
        result = vectorizer.trace(cutout, o);
        benchmark::DoNotOptimize(result);
    }
    reportCounts(state, countsOf(result));
    reportSvgBytes(state, Vectorizer::svgString(result, o).size());
}

// Argument: detail in percent.
void BM_TraceSilhouette(benchmark::State& state)
{
    static const Image cutout = ringsCutout(false);
    runTrace(state, cutout, options(state.range(0) / 100.0, 1));
}

// Argument: number of colours.
void BM_TraceColourLayers(benchmark::State& state)
{
    static const Image cutout = ringsCutout(true);
    runTrace(state, cutout, options(0.5, static_cast<int>(state.range(0))));
}

void BM_TraceSilhouetteToSvg(benchmark::State& state)
{
    static const Image cutout = ringsCutout(false);
    const TraceOptions o = options(state.range(0) / 100.0, 1);
    const Vectorizer vectorizer;
    std::string svg;
    TraceResult result;
    for (auto _ : state) {
        result = vectorizer.trace(cutout, o);
        svg = Vectorizer::svgString(result, o);
        benchmark::DoNotOptimize(svg);
    }
    reportCounts(state, countsOf(result));
    reportSvgBytes(state, svg.size());
}

void repeatedRuns(benchmark::internal::Benchmark* benchmark) { zephrin::bench::repeated(benchmark, 9); }

BENCHMARK(BM_TraceSilhouette)->Arg(0)->Arg(50)->Arg(100)->Apply(repeatedRuns);
BENCHMARK(BM_TraceSilhouetteToSvg)->Arg(50)->Apply(repeatedRuns);
BENCHMARK(BM_TraceColourLayers)->Arg(8)->Apply(repeatedRuns);

// --- potrace ---------------------------------------------------------------

// The silhouette's mask, as both tracers see it: alpha at least half.
std::vector<std::uint8_t> silhouetteMask()
{
    const Image cutout = ringsCutout(false);
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(kSide) * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            mask[static_cast<std::size_t>(y) * kSide + x] = cutout.pixels.at<cv::Vec4b>(y, x)[3] >= 128;
    return mask;
}

#ifdef ZEPHRIN_HAVE_POTRACE

// potrace's bitmap: words of bits, leftmost pixel in the most significant bit,
// scan lines bottom first (its y axis points up).
struct PotraceBitmap {
    std::vector<potrace_word> words;
    potrace_bitmap_t bitmap{};

    explicit PotraceBitmap(const std::vector<std::uint8_t>& mask)
    {
        constexpr int kBits = 8 * sizeof(potrace_word);
        const int dy = (kSide + kBits - 1) / kBits;
        words.assign(static_cast<std::size_t>(dy) * kSide, 0);
        for (int y = 0; y < kSide; ++y) {
            potrace_word* line = words.data() + static_cast<std::size_t>(kSide - 1 - y) * dy;
            const std::uint8_t* row = mask.data() + static_cast<std::size_t>(y) * kSide;
            for (int x = 0; x < kSide; ++x)
                if (row[x])
                    line[x / kBits] |= potrace_word(1) << (kBits - 1 - x % kBits);
        }
        bitmap = {kSide, kSide, dy, words.data()};
    }
};

void BM_PotraceLibrary(benchmark::State& state)
{
    static const std::vector<std::uint8_t> mask = silhouetteMask();
    potrace_param_t* param = potrace_param_default();
    Counts counts;
    for (auto _ : state) {
        const PotraceBitmap bitmap(mask);
        potrace_state_t* traced = potrace_trace(param, &bitmap.bitmap);
        if (!traced || traced->status != POTRACE_STATUS_OK) {
            state.SkipWithError("potrace_trace failed");
            break;
        }
        counts = {1, 0, 0};
        for (potrace_path_t* path = traced->plist; path; path = path->next) {
            ++counts.contours;
            for (int i = 0; i < path->curve.n; ++i)
                counts.segments += path->curve.tag[i] == POTRACE_CORNER ? 2 : 1;
        }
        potrace_state_free(traced);
    }
    potrace_param_free(param);
    reportCounts(state, counts);
}
BENCHMARK(BM_PotraceLibrary)->Apply(repeatedRuns);

#endif

#ifdef ZEPHRIN_POTRACE_PROGRAM

void BM_PotraceProgramToSvg(benchmark::State& state)
{
    const auto folder = std::filesystem::temp_directory_path() / "zephrin-vectorizer-bench";
    std::filesystem::create_directories(folder);
    const auto pbm = folder / "rings.pbm", svg = folder / "rings.svg";
    {
        // Plain binary PBM: 1 = black = subject, rows top first, bits MSB first.
        const std::vector<std::uint8_t> mask = silhouetteMask();
        std::ofstream out(pbm, std::ios::binary);
        out << "P4\n" << kSide << ' ' << kSide << '\n';
        std::vector<char> row((kSide + 7) / 8);
        for (int y = 0; y < kSide; ++y) {
            std::fill(row.begin(), row.end(), 0);
            for (int x = 0; x < kSide; ++x)
                if (mask[static_cast<std::size_t>(y) * kSide + x])
                    row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            out.write(row.data(), static_cast<std::streamsize>(row.size()));
        }
    }
    const std::string command =
        std::string(ZEPHRIN_POTRACE_PROGRAM) + " -s -o '" + svg.string() + "' '" + pbm.string() + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("potrace failed");
            break;
        }
    }
    reportSvgBytes(state, std::filesystem::file_size(svg));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PotraceProgramToSvg)->Apply(repeatedRuns);

#endif

} // namespace

int main(int argc, char** argv) { return zephrin::bench::runBenchmarks(argc, argv); }
