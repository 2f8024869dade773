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

// Reused rows of one stripe of the canvas; a colour's row is filled once.
struct Rows {
    Rows(int width, const CanvasLayers& layers)
        : front(size_t(4 * width)), under(size_t(4 * width)), towards(size_t(4 * width)), alpha(size_t(width)),
          backdropColour(size_t(4 * width)), towardsColour(size_t(4 * width))
    {
        pixelRows::filled(layers.backdrop.colour, backdropColour.data(), width);
        if (layers.edge)
            pixelRows::filled(layers.edge->towards.colour, towardsColour.data(), width);
    }
    std::vector<uchar> front, under, towards, alpha, backdropColour, towardsColour;
};

// The paint's pixels on row y from x = left, `width` of them: the picture's
// own row where it covers them all, else `scratch` filled; a colour's row.
const uchar* paintRow(const Paint& paint, int y, int left, int width, uchar* scratch, const uchar* colourRow)
{
    if (!paint.picture)
        return colourRow;
    const Span span = spanOf(*paint.picture, y, left, width);
    if (span.begin == 0 && span.end == width)
        return span.pixels;
    std::memset(scratch, 0, size_t(4 * width));
    if (span.length() > 0)
        std::memcpy(scratch + 4 * span.begin, span.pixels, size_t(4 * span.length()));
    return scratch;
}

// Calls blend(begin, end) for the runs of 16-value chunks of `weight` (n
// values) that hold anything but 0: elsewhere the edge blend keeps the front.
template <class Blend>
void forNonZeroRuns(const uchar* weight, int n, Blend blend)
{
    constexpr int kChunk = 16;
    const auto anything = [&](int begin) {
        const int end = std::min(begin + kChunk, n);
        return std::any_of(weight + begin, weight + end, [](uchar w) { return w != 0; });
    };
    int begin = 0;
    while (begin < n) {
        while (begin < n && !anything(begin))
            begin += kChunk;
        int end = begin;
        while (end < n && anything(end))
            end += kChunk;
        if (begin < n)
            blend(begin, std::min(end, n));
        begin = end;
    }
}

// The front layer on row y, its rim blended when it has an edge tint: its own
// row where that covers the whole width untouched, else rows.front.
const uchar* frontRow(const CanvasLayers& layers, int y, int left, int width, Rows& rows)
{
    const Span span = spanOf(layers.front, y, left, width);
    const int n = span.length();
    if (!layers.edge && span.begin == 0 && span.end == width)
        return span.pixels;
    uchar* front = rows.front.data();
    std::memset(front, 0, size_t(4 * span.begin));
    std::memset(front + 4 * span.end, 0, size_t(4 * (width - span.end)));
    if (n == 0)
        return front;
    uchar* out = front + 4 * span.begin;
    std::memcpy(out, span.pixels, size_t(4 * n));
    if (!layers.edge)
        return front;
    // blendWithMask(maskedBy(towards, alpha), front, weight); a weight of 0 keeps the front.
    const Span weight = spanOf(layers.edge->weight, y, left, width);
    forNonZeroRuns(weight.pixels, n, [&](int begin, int end) {
        const int length = end - begin;
        const uchar* subject = span.pixels + 4 * begin;
        const uchar* towards = paintRow(layers.edge->towards, y, left + span.begin + begin, length,
                                        rows.towards.data(), rows.towardsColour.data());
        pixelRows::alphaOf(subject, rows.alpha.data(), length);
        pixelRows::masked(towards, rows.alpha.data(), rows.under.data(), length);
        pixelRows::blended(rows.under.data(), subject, weight.pixels + begin, out + 4 * begin, length);
    });
    return front;
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
        Rows rows(width, layers);
        for (int r = firstRow; r < endRow; ++r) {
            const int y = canvas.y + r;
            const uchar* front = frontRow(layers, y, canvas.x, width, rows);
            if (layers.shadow) {
                shadowRow(*layers.shadow, y, canvas.x, width, rows.under.data());
                pixelRows::over(front, rows.under.data(), rows.front.data(), width);
                front = rows.front.data();
            }
            if (backdrop) {
                const uchar* under = paintRow(layers.backdrop, y, canvas.x, width, rows.under.data(),
                                              rows.backdropColour.data());
                pixelRows::over(front, under, out.ptr(r), width);
            } else {
                std::memcpy(out.ptr(r), front, size_t(4 * width));
            }
        }
    });
    return out;
}

} // namespace zephrin
