#pragma once
// The colour palette of a subject, by median cut.

#include "engine/bitmap/RGBABitmap.h"
#include "output/vector/TraceMask.h"

#include <cstdint>
#include <vector>

namespace zephrin::tracing {

// An un-premultiplied sRGB colour, channels 0 to 1, for palette arithmetic.
struct RGB {
    double r = 0;
    double g = 0;
    double b = 0;

    friend bool operator==(const RGB&, const RGB&) = default;
};

// The un-premultiplied colour of a pixel of premultiplied RGBA bytes; black
// for a fully transparent pixel.
inline RGB unpremultiplied(const std::uint8_t* px)
{
    if (px[3] == 0)
        return {};
    const double a = px[3];
    return {px[0] / a, px[1] / a, px[2] / a};
}

// Up to `colors` palette colours of the masked pixels: the mean colours of the
// boxes that median cut leaves. Samples at most about 60,000 pixels (every
// step-th masked pixel). The box to split next is the one with the widest
// channel range (the earliest box on ties; channels r before g before b); it is
// cut at its median along that channel, the two halves going to the end of the
// list. Boxes of identical colours are still split, so a two-colour picture can
// give more entries than colours. No sample at all gives one black entry.
std::vector<RGB> medianCutPalette(const RGBABitmap& bitmap, const TraceMask& mask, int colors);

} // namespace zephrin::tracing
