#include "output/vector/MedianCutPalette.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace zephrin::tracing {

namespace {

constexpr std::int64_t kMaxSamples = 60000;

double channel(const RGB& c, int index) { return index == 0 ? c.r : index == 1 ? c.g : c.b; }

struct Box {
    std::vector<RGB> samples;
    int widestChannel = 0;   // r = 0, g = 1, b = 2; the first on ties
    double range = 0;        // max - min along that channel

    explicit Box(std::vector<RGB> colours) : samples(std::move(colours))
    {
        range = -1;
        for (int c = 0; c < 3; ++c) {
            const auto [lo, hi] = std::minmax_element(samples.begin(), samples.end(), [c](const RGB& a, const RGB& b) {
                return channel(a, c) < channel(b, c);
            });
            const double span = channel(*hi, c) - channel(*lo, c);
            if (span > range) {
                range = span;
                widestChannel = c;
            }
        }
    }
};

std::vector<RGB> sampleMasked(const RGBABitmap& bitmap, const TraceMask& mask)
{
    const std::int64_t area = static_cast<std::int64_t>(bitmap.width) * bitmap.height;
    const std::int64_t step = area >= kMaxSamples ? area / kMaxSamples : 1;
    std::vector<RGB> samples;
    std::int64_t seen = 0;
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* inMask = mask.row(y);
        for (int x = 0; x < bitmap.width; ++x) {
            if (!inMask[x])
                continue;
            if (seen % step == 0)
                samples.push_back(unpremultiplied(bitmap.pixel(x, y)));
            ++seen;
        }
    }
    return samples;
}

} // namespace

std::vector<RGB> medianCutPalette(const RGBABitmap& bitmap, const TraceMask& mask, int colors)
{
    std::vector<RGB> samples = sampleMasked(bitmap, mask);
    if (samples.empty())
        return {RGB{}};

    std::vector<Box> boxes;
    boxes.emplace_back(std::move(samples));
    while (static_cast<int>(boxes.size()) < colors) {
        std::ptrdiff_t chosen = -1;
        double widest = -1;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].samples.size() > 1 && boxes[i].range > widest) {
                widest = boxes[i].range;
                chosen = static_cast<std::ptrdiff_t>(i);
            }
        }
        if (chosen < 0)
            break;

        std::vector<RGB> cut = std::move(boxes[static_cast<std::size_t>(chosen)].samples);
        const int c = boxes[static_cast<std::size_t>(chosen)].widestChannel;
        boxes.erase(boxes.begin() + chosen);
        std::stable_sort(cut.begin(), cut.end(),
                         [c](const RGB& a, const RGB& b) { return channel(a, c) < channel(b, c); });
        const auto middle = cut.begin() + static_cast<std::ptrdiff_t>(cut.size() / 2);
        boxes.emplace_back(std::vector<RGB>(cut.begin(), middle));
        boxes.emplace_back(std::vector<RGB>(middle, cut.end()));
    }

    std::vector<RGB> palette;
    palette.reserve(boxes.size());
    for (const Box& box : boxes) {
        RGB sum;
        for (const RGB& s : box.samples) {
            sum.r += s.r;
            sum.g += s.g;
            sum.b += s.b;
        }
        const double n = static_cast<double>(box.samples.size());
        palette.push_back({sum.r / n, sum.g / n, sum.b / n});
    }
    return palette;
}

} // namespace zephrin::tracing
