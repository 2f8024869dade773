#include "output/vector/TraceMask.h"

namespace zephrin::tracing {

TraceMask dilate4(const TraceMask& mask)
{
    const int w = mask.width;
    const int h = mask.height;
    TraceMask grown(w, h);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* here = mask.row(y);
        const std::uint8_t* above = y > 0 ? mask.row(y - 1) : here;
        const std::uint8_t* below = y + 1 < h ? mask.row(y + 1) : here;
        std::uint8_t* out = grown.row(y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t left = x > 0 ? here[x - 1] : 0;
            const std::uint8_t right = x + 1 < w ? here[x + 1] : 0;
            out[x] = here[x] | above[x] | below[x] | left | right;
        }
    }
    return grown;
}

} // namespace zephrin::tracing
