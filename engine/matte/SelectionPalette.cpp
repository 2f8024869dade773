// The dominant colours of an image: median cut over a sparse sample, then
// near-duplicate colours merged.

#include "engine/edits/SelectionGeometry.h"
#include "engine/matte/MatteEngine.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zephrin {

namespace {

using Sample = std::array<double, 3>; // R, G, B of the stored (premultiplied) bytes, 0 to 1
using Box = std::vector<Sample>;

// Boxes are not split once their widest channel spans less than this.
constexpr double kMinSplitRange = 0.02;
// Entries closer than this (Euclidean RGB, 0 to 1) are one colour.
constexpr double kMergeDistance = 0.12;
// About this many pixels are sampled whatever the image size.
constexpr double kSampleBudget = 80000;

// Every step-th pixel of every step-th row inside the mask whose alpha is above
// one half. Colour is taken as stored: above half alpha, premultiplying darkens
// it at most by half, and the palette only has to tell colours apart.
std::vector<Sample> sampledColors(const cv::Mat& rgba, const std::vector<std::uint8_t>& mask)
{
    const int w = rgba.cols, h = rgba.rows;
    const int step = std::max(1, static_cast<int>(std::ceil(std::sqrt(double(w) * h / kSampleBudget))));
    std::vector<Sample> samples;
    for (int y = 0; y < h; y += step) {
        const uchar* row = rgba.ptr(y);
        for (int x = 0; x < w; x += step) {
            if (!mask.empty() && !mask[static_cast<size_t>(y) * w + x])
                continue;
            const uchar* p = row + 4 * x;
            if (p[3] / 255.0 > 0.5)
                samples.push_back({p[0] / 255.0, p[1] / 255.0, p[2] / 255.0});
        }
    }
    return samples;
}

// The channel of the widest range of a box and that range; ties go to R, then G.
std::pair<int, double> splitChannel(const Box& box)
{
    int channel = 0;
    double widest = -1;
    for (int c = 0; c < 3; ++c) {
        const auto [lo, hi] = std::minmax_element(box.begin(), box.end(),
                                                  [c](const Sample& a, const Sample& b) { return a[c] < b[c]; });
        const double range = (*hi)[c] - (*lo)[c];
        if (range > widest) {
            widest = range;
            channel = c;
        }
    }
    return {channel, widest};
}

// Median cut into at most `target` boxes: the box of the widest channel range
// (the earliest on a tie) is sorted along that channel and halved.
std::vector<Box> medianCut(std::vector<Sample> samples, size_t target)
{
    std::vector<Box> boxes;
    boxes.push_back(std::move(samples));
    while (boxes.size() < target) {
        int chosen = -1, chosenChannel = 0;
        double best = -1;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2)
                continue;
            const auto [channel, range] = splitChannel(boxes[i]);
            if (range > best) {
                best = range;
                chosen = static_cast<int>(i);
                chosenChannel = channel;
            }
        }
        if (chosen < 0 || best < kMinSplitRange)
            break;
        Box box = std::move(boxes[chosen]);
        boxes.erase(boxes.begin() + chosen);
        std::stable_sort(box.begin(), box.end(),
                         [c = chosenChannel](const Sample& a, const Sample& b) { return a[c] < b[c]; });
        const auto half = box.begin() + static_cast<std::ptrdiff_t>(box.size() / 2);
        boxes.emplace_back(box.begin(), half);
        boxes.emplace_back(half, box.end());
    }
    return boxes;
}

void sortByShare(std::vector<PaletteColor>& entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const PaletteColor& a, const PaletteColor& b) { return a.share > b.share; });
}

// Each entry joins the first kept entry nearer than kMergeDistance (share-weighted
// mean colour, summed share) or is kept as a new one.
std::vector<PaletteColor> mergedNearDuplicates(const std::vector<PaletteColor>& entries)
{
    std::vector<PaletteColor> kept;
    for (const PaletteColor& entry : entries) {
        auto near = std::find_if(kept.begin(), kept.end(), [&](const PaletteColor& k) {
            return rgbDistance(k.color, entry.color) < kMergeDistance;
        });
        if (near == kept.end()) {
            kept.push_back(entry);
            continue;
        }
        const double total = near->share + entry.share;
        const auto mix = [&](double kept, double added) { return (kept * near->share + added * entry.share) / total; };
        near->color = {mix(near->color.r, entry.color.r), mix(near->color.g, entry.color.g),
                       mix(near->color.b, entry.color.b), 1};
        near->share = total;
    }
    return kept;
}

} // namespace

std::vector<PaletteColor> MatteEngine::selectionPalette(const Image& image, std::optional<SelectionKind> shape,
                                                        const std::vector<QPointF>& points, int count)
{
    if (image.empty() || count <= 0)
        return {};
    // The full-size bitmap is the image's own bytes (same layout), read in place.
    const cv::Mat& rgba = image.pixels;
    std::vector<std::uint8_t> mask;
    if (shape)
        if (const auto path = selectionPath(*shape, points))
            mask = rasterizeMask(*path, rgba.cols, rgba.rows);

    std::vector<Sample> samples = sampledColors(rgba, mask);
    if (samples.empty())
        return {};
    const double total = static_cast<double>(samples.size());

    std::vector<PaletteColor> entries;
    for (const Box& box : medianCut(std::move(samples), 2 * static_cast<size_t>(count))) {
        Sample sum{0, 0, 0};
        for (const Sample& s : box)
            for (int c = 0; c < 3; ++c)
                sum[c] += s[c];
        const double n = static_cast<double>(box.size());
        entries.push_back({{sum[0] / n, sum[1] / n, sum[2] / n, 1}, n / total});
    }
    sortByShare(entries);
    entries = mergedNearDuplicates(entries);
    sortByShare(entries);
    if (entries.size() > static_cast<size_t>(count))
        entries.resize(static_cast<size_t>(count));
    return entries;
}

} // namespace zephrin
