#include "output/vector/Vectorizer.h"

#include "engine/types/MatteError.h"
#include "output/vector/InkDetection.h"
#include "output/vector/TraceLayer.h"
#include "output/vector/TraceMask.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>

namespace zephrin {

using namespace tracing;

namespace {

// ---------------------------------------------------------------------------
// 1. Bitmaps and visibility
// ---------------------------------------------------------------------------

struct Visibility {
    CountedMask visible;
    PixelBox box;   // bounding box of the visible pixels
};

// A pixel is visible when alphaThreshold <= A / 255. O(w * h).
Visibility visibilityMask(const RGBABitmap& bitmap, double alphaThreshold)
{
    std::array<std::uint8_t, 256> visibleAlpha{};
    for (int a = 0; a < 256; ++a)
        visibleAlpha[static_cast<std::size_t>(a)] = alphaThreshold <= a / 255.0;

    Visibility result{{TraceMask(bitmap.width, bitmap.height), 0}, {bitmap.width, -1, bitmap.height, -1}};
    PixelBox& box = result.box;
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* px = bitmap.pixel(0, y);
        std::uint8_t* out = result.visible.mask.row(y);
        int rowCount = 0;
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint8_t visible = visibleAlpha[px[4 * x + 3]];
            out[x] = visible;
            rowCount += visible;
        }
        if (rowCount == 0)
            continue;
        result.visible.count += rowCount;
        int first = 0, last = bitmap.width - 1;
        while (!out[first])
            ++first;
        while (!out[last])
            --last;
        box.minX = std::min(box.minX, first);
        box.maxX = std::max(box.maxX, last);
        box.minY = std::min(box.minY, y);
        box.maxY = y;
    }
    return result;
}

// ---------------------------------------------------------------------------
// 4. Colour layers
// ---------------------------------------------------------------------------

double squaredDistance(const RGB& a, const RGB& b)
{
    const double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return dr * dr + dg * dg + db * db;
}

// Index of the nearest palette entry; the first one on ties.
int nearestEntry(const std::vector<RGB>& palette, const RGB& colour)
{
    int best = 0;
    double bestDistance = squaredDistance(palette[0], colour);
    for (std::size_t i = 1; i < palette.size(); ++i) {
        const double d = squaredDistance(palette[i], colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

constexpr int kUnlabelled = -1;

// The pixels labelled `entry`, grown by one pixel in the 4-neighbourhood: a
// pixel is set when it or its left, right, upper or lower neighbour has the
// label. Each label row is compared once, into a row of 0/1 bytes padded with a
// clear byte at both ends; three such rows roll down the picture, so the inner
// loops have no branch (measured: 8 colour layers of a 2048-pixel cutout in
// 121 ms instead of 147 ms with bounds tests per pixel). O(w * h).
TraceMask grownMaskOf(const std::vector<int>& labels, int w, int h, int entry)
{
    const auto padded = static_cast<std::size_t>(w) + 2;
    std::vector<std::uint8_t> above(padded, 0), here(padded, 0), below(padded, 0);
    const auto compareRow = [&](int y, std::vector<std::uint8_t>& row) {
        if (y >= h) {
            std::fill(row.begin(), row.end(), 0);
            return;
        }
        const int* label = labels.data() + static_cast<std::size_t>(y) * w;
        for (int x = 0; x < w; ++x)
            row[static_cast<std::size_t>(x) + 1] = label[x] == entry;
    };

    TraceMask grown(w, h);
    compareRow(0, below);
    for (int y = 0; y < h; ++y) {
        std::swap(above, here);
        std::swap(here, below);
        compareRow(y + 1, below);
        std::uint8_t* out = grown.row(y);
        for (std::size_t x = 0; x < static_cast<std::size_t>(w); ++x)
            out[x] = here[x] | here[x + 1] | here[x + 2] | above[x + 1] | below[x + 1];
    }
    return grown;
}

// One layer per palette colour that keeps a contour, the most frequent colour
// first (it is painted at the bottom). Each layer's mask is grown by one pixel
// so that neighbouring colours overlap and no hairline gap shows between them.
std::vector<TracedLayer> colourLayers(const RGBABitmap& bitmap, const TraceMask& working,
                                      const TraceOptions& options)
{
    const std::vector<RGB> palette = medianCutPalette(bitmap, working, options.colors);

    // Label every working pixel with its nearest palette entry. Neighbouring
    // pixels often share their bytes, so the last answer is kept at hand.
    std::vector<int> labels(working.bits.size(), kUnlabelled);
    std::vector<int> counts(palette.size(), 0);
    std::uint32_t lastBytes = 0;   // a transparent pixel, which counts as black
    int lastLabel = nearestEntry(palette, RGB{});
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!working.bits[i])
            continue;
        const std::uint8_t* px = bitmap.bytes.data() + 4 * i;
        std::uint32_t bytes;
        std::memcpy(&bytes, px, 4);
        if (bytes != lastBytes) {
            lastBytes = bytes;
            lastLabel = nearestEntry(palette, unpremultiplied(px));
        }
        labels[i] = lastLabel;
        ++counts[static_cast<std::size_t>(lastLabel)];
    }

    std::vector<int> order(palette.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&counts](int a, int b) {
        return counts[static_cast<std::size_t>(a)] > counts[static_cast<std::size_t>(b)];
    });

    std::vector<TracedLayer> layers;
    for (const int entry : order) {
        const int count = counts[static_cast<std::size_t>(entry)];
        if (count == 0)
            continue;
        const TraceMask mask = grownMaskOf(labels, working.width, working.height, entry);
        std::vector<TracedContour> contours = traceLayer(mask, options.detail, options.minimumArea);
        if (!contours.empty())
            layers.push_back({Vectorizer::hexColor(palette[static_cast<std::size_t>(entry)]), std::move(contours),
                              count});
    }
    return layers;
}

} // namespace

TraceResult Vectorizer::trace(const Image& image, const std::optional<Image>& colourSource,
                              const TraceOptions& options) const
{
    // 1. The traced bitmap, what of it is visible, and where colours are read.
    const std::optional<RGBABitmap> bitmap = makeBitmap(image, options.traceLongEdge);
    if (!bitmap)
        throw MatteError(MatteErrorKind::renderFailed);
    Visibility visibility = visibilityMask(*bitmap, options.alphaThreshold);
    if (visibility.visible.count == 0)
        throw MatteError(MatteErrorKind::noSubjectFound);

    std::optional<RGBABitmap> sourceBitmap;
    if (colourSource)
        sourceBitmap = makeBitmap(*colourSource, options.traceLongEdge);
    const bool sourceFits =
        sourceBitmap && sourceBitmap->width == bitmap->width && sourceBitmap->height == bitmap->height;
    const RGBABitmap& colours = sourceFits ? *sourceBitmap : *bitmap;

    // 2. The ink test, and 3. the ink mask; otherwise the visible subject.
    const bool inkMode = options.source == TraceSource::ink ||
                         (options.source == TraceSource::autoDetect && looksLikeInk(colours, visibility.box));
    CountedMask working = inkMode ? inkMask(colours, visibility.box, options.inkThreshold)
                                  : std::move(visibility.visible);
    if (working.count == 0)
        throw MatteError(MatteErrorKind::noSubjectFound);

    // 4. Layers.
    TraceResult result{bitmap->width, bitmap->height, {}};
    if (options.colors < 2 || options.fileMaker) {
        // The single layer is kept even without a contour.
        result.layers.push_back({options.silhouetteColor,
                                 traceLayer(working.mask, options.detail, options.minimumArea), working.count});
        return result;
    }
    result.layers = colourLayers(*bitmap, working.mask, options);
    // Every colour region was too small or too thin to keep: there is nothing
    // to write, which is the same as finding no subject.
    if (result.layers.empty())
        throw MatteError(MatteErrorKind::noSubjectFound);
    return result;
}

std::string Vectorizer::hexColor(const RGB& colour)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const auto byte = [](double channel) {
        // NaN and negative channels give 0.
        return channel > 0 ? static_cast<int>(std::lround(std::min(channel, 1.0) * 255)) : 0;
    };
    std::string text = "#";
    for (const double channel : {colour.r, colour.g, colour.b}) {
        const int value = byte(channel);
        text += kDigits[value >> 4];
        text += kDigits[value & 15];
    }
    return text;
}

} // namespace zephrin
