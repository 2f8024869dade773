#include "output/vector/InkDetection.h"

#include <algorithm>

namespace zephrin::tracing {

namespace {

// Rec. 709 luminance of the un-premultiplied colour: with a = A / 255 the
// colour is (R / 255 / a, ...), so the premultiplied weighted sum divided by A.
// Only for pixels with A > 0.
double luminance(const std::uint8_t* px)
{
    return (0.2126 * px[0] + 0.7152 * px[1] + 0.0722 * px[2]) / px[3];
}

// a = A / 255 <= 0.001 holds only for A = 0.
bool isTransparent(const std::uint8_t* px) { return px[3] / 255.0 <= 0.001; }

// Sample spacing along one side of the box: one sample per pixel up to a span
// of 300, then span / 300.
int sampleStep(int span) { return span >= 300 ? span / 300 : 1; }

} // namespace

bool looksLikeInk(const RGBABitmap& colours, const PixelBox& box)
{
    const int sx = sampleStep(box.maxX - box.minX);
    const int sy = sampleStep(box.maxY - box.minY);
    int light = 0, dark = 0, mid = 0;
    for (int y = box.minY; y <= box.maxY; y += sy) {
        for (int x = box.minX; x <= box.maxX; x += sx) {
            const std::uint8_t* px = colours.pixel(x, y);
            if (isTransparent(px)) {
                ++light;
                continue;
            }
            const double l = luminance(px);
            if (l > 0.82)
                ++light;
            else if (l < 0.4)
                ++dark;
            else
                ++mid;
        }
    }
    const double total = std::max(light + dark + mid, 1);
    return mid / total < 0.12 && dark / total > 0.02 && dark / total < 0.6 && light / total > 0.3;
}

CountedMask inkMask(const RGBABitmap& colours, const PixelBox& box, double inkThreshold)
{
    const int w = colours.width;
    const int h = colours.height;
    const int longSide = std::max(w, h);
    const int pad = longSide >= 160 ? longSide / 40 : 4;
    const bool transparentIsInk = inkThreshold > 1.0;

    CountedMask ink{TraceMask(w, h), 0};
    for (int y = std::max(0, box.minY - pad); y <= std::min(h - 1, box.maxY + pad); ++y) {
        std::uint8_t* out = ink.mask.row(y);
        for (int x = std::max(0, box.minX - pad); x <= std::min(w - 1, box.maxX + pad); ++x) {
            const std::uint8_t* px = colours.pixel(x, y);
            const bool isInk = isTransparent(px) ? transparentIsInk : luminance(px) < inkThreshold;
            out[x] = isInk;
            ink.count += isInk;
        }
    }
    return ink;
}

} // namespace zephrin::tracing
