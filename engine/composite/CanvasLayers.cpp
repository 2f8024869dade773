#include "engine/composite/CanvasLayers.h"

#include "engine/pixel/ParallelRows.h"
#include "engine/pixel/PixelBuffer.h"
#include "engine/pixel/PixelRows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zephrin {

namespace {

// Where a value meets the row y of image space between x = left and
// left + width: [begin, end) counted from left, and the value's pixel at begin.
struct Span {
    int begin = 0;
    int end = 0;
    const uchar* pixels = nullptr;

    int length() const { return end - begin; }
};

template <class Value>
Span spanOf(const Value& value, int y, int left, int width)
{
    const cv::Rect extent = value.extent();
    if (value.empty() || y < extent.y || y >= extent.y + extent.height)
        return {};
    const int begin = std::max(left, extent.x);
    const int end = std::min(left + width, extent.x + extent.width);
    if (begin >= end)
        return {};
    return {begin - left, end - left, value.pixels.ptr(y - extent.y) + size_t(begin - extent.x) * value.pixels.elemSize()};
}

// The paint's pixels on row y from x = left, `width` of them.
void paintRow(const Paint& paint, int y, int left, int width, uchar* out)
{
    if (!paint.picture) {
        pixelRows::filled(paint.colour, out, width);
        return;
    }
    std::memset(out, 0, size_t(4 * width));
    const Span span = spanOf(*paint.picture, y, left, width);
    if (span.length() > 0)
        std::memcpy(out + 4 * span.begin, span.pixels, size_t(4 * span.length()));
}

// Reused row buffers of one stripe of the canvas.
struct Rows {
    explicit Rows(int width)
        : front(size_t(4 * width)), under(size_t(4 * width)), towards(size_t(4 * width)), alpha(size_t(width))
    {
    }
    std::vector<uchar> front, under, towards, alpha;
};

// The front layer on row y, its rim blended when it has an edge tint.
void frontRow(const CanvasLayers& layers, int y, int left, int width, Rows& rows)
{
    std::memset(rows.front.data(), 0, rows.front.size());
    const Span span = spanOf(layers.front, y, left, width);
    const int n = span.length();
    if (n == 0)
        return;
    uchar* out = rows.front.data() + 4 * span.begin;
    if (!layers.edge) {
        std::memcpy(out, span.pixels, size_t(4 * n));
        return;
    }
    // blendWithMask(maskedBy(towards, alpha), front, weight)
    const Span weight = spanOf(layers.edge->weight, y, left, width);
    paintRow(layers.edge->towards, y, left + span.begin, n, rows.towards.data());
    pixelRows::alphaOf(span.pixels, rows.alpha.data(), n);
    pixelRows::masked(rows.towards.data(), rows.alpha.data(), rows.towards.data(), n);
    pixelRows::blended(rows.towards.data(), span.pixels, weight.pixels, out, n);
}

void shadowRow(const ShadowLayer& shadow, int y, int left, int width, uchar* out)
{
    std::memset(out, 0, size_t(4 * width));
    const Span span = spanOf(shadow.coverage, y, left, width);
    pixelRows::lookedUp(span.pixels, shadow.ramp.data(), out + 4 * span.begin, span.length());
}

bool paintsNothing(const Paint& paint) { return !paint.picture && paint.colour == std::array<uchar, 4>{}; }

} // namespace

cv::Mat flattened(const CanvasLayers& layers, cv::Rect canvas)
{
    CV_Assert(!layers.edge || layers.edge->weight.extent() == layers.front.extent());
    cv::Mat out = newPixelBuffer(canvas.size(), CV_8UC4);
    if (out.empty())
        return out;
    const int width = canvas.width;
    // Over nothing, source-over leaves the front as it is.
    const bool backdrop = !paintsNothing(layers.backdrop);
    parallelRows(canvas.height, width, [&](int firstRow, int endRow) {
        Rows rows(width);
        for (int r = firstRow; r < endRow; ++r) {
            const int y = canvas.y + r;
            frontRow(layers, y, canvas.x, width, rows);
            if (layers.shadow) {
                shadowRow(*layers.shadow, y, canvas.x, width, rows.under.data());
                pixelRows::over(rows.front.data(), rows.under.data(), rows.front.data(), width);
            }
            if (backdrop) {
                paintRow(layers.backdrop, y, canvas.x, width, rows.under.data());
                pixelRows::over(rows.front.data(), rows.under.data(), out.ptr(r), width);
            } else {
                std::memcpy(out.ptr(r), rows.front.data(), rows.front.size());
            }
        }
    });
    return out;
}

} // namespace zephrin
