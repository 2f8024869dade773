#include "engine/pixel/ExposureAdjust.h"

#include "engine/pixel/ChannelTable.h"
#include "engine/pixel/detail/SRGB.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zephrin {

Image exposureAdjust(const Image& image, double ev)
{
    // A non-finite setting changes nothing; beyond ±30 stops every pixel is already
    // black or white, and the bound keeps 0 × gain defined.
    if (image.empty() || ev == 0 || !std::isfinite(ev))
        return image;
    const double gain = std::exp2(std::clamp(ev, -30.0, 30.0));
    // The new premultiplied channel for every (alpha, channel) pair: one curve
    // evaluation per pair instead of two powers per pixel.
    std::vector<uchar> table(256 * 256, 0);
    for (int alpha = 1; alpha < 256; ++alpha) {
        uchar* row = &table[size_t(alpha) * 256];
        for (int channel = 0; channel <= alpha; ++channel) {
            const double straight = double(channel) / alpha;
            const double linear = std::min(detail::srgbToLinear(straight) * gain, 1.0);
            row[channel] = uchar(std::clamp(detail::linearToSrgb(linear), 0.0, 1.0) * alpha + 0.5);
        }
        // A channel above alpha is not premultiplied colour: treat it as full.
        std::fill(row + alpha + 1, row + 256, row[alpha]);
    }
    return Image(mapThroughChannelTable(image.pixels, table.data()), image.origin);
}

} // namespace zephrin
