#include "engine/pixel/Morphology.h"

#include "engine/pixel/detail/AreaSampling.h"
#include "engine/pixel/ExtentLimits.h"
#include "engine/pixel/ParallelRows.h"
#include "engine/pixel/PixelBuffer.h"
#include "engine/pixel/detail/RowKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace zephrin {

namespace {

// The disk as rows, grouped by half-width: rowsOfHalfWidth[w] lists the dy in
// [−reach, reach] whose row of the disk spans dx in [−w, w].
std::vector<std::vector<int>> diskRows(double radius, int reach)
{
    std::vector<std::vector<int>> rowsOfHalfWidth(size_t(reach + 1));
    for (int dy = -reach; dy <= reach; ++dy) {
        // The epsilon keeps exact radii (dy = radius gives width 0) safe from rounding.
        const double width = std::sqrt(std::max(radius * radius - double(dy) * dy, 0.0));
        rowsOfHalfWidth[size_t(std::min(int(std::floor(width + 1e-9)), reach))].push_back(dy);
    }
    return rowsOfHalfWidth;
}

struct DiskPass {
    const cv::Mat& source;
    cv::Rect area;       // output rectangle in source pixel coordinates
    int reach;
    bool maximum;        // false: minimum
    bool repeatEdges;    // false: outside the source reads as 0
    std::vector<std::vector<int>> rowsOfHalfWidth;

    void combine(uchar* acc, const uchar* a, int length) const
    {
        maximum ? detail::maxInto(acc, a, length) : detail::minInto(acc, a, length);
    }
    void combine(uchar* acc, const uchar* a, const uchar* b, int length) const
    {
        maximum ? detail::maxInto(acc, a, b, length) : detail::minInto(acc, a, b, length);
    }

    // Output rows [firstRow, endRow) of `out`.
    void run(cv::Mat& out, int firstRow, int endRow) const
    {
        const int channels = source.channels();
        const int rowLength = area.width * channels;
        const uchar identity = maximum ? 0 : 255;
        std::vector<uchar> wide(size_t((area.width + 2 * reach) * channels));
        std::vector<uchar> span(static_cast<size_t>(rowLength));
        // Output rows in progress (at most one per row of the disk, and only this
        // band's), used as a ring.
        const int ringRows = std::min(2 * reach + 1, endRow - firstRow);
        std::vector<uchar> pending(size_t(ringRows) * size_t(rowLength));
        auto pendingRow = [&](int outputRow) {
            return pending.data() + size_t((outputRow - firstRow) % ringRows) * size_t(rowLength);
        };

        // Input row i feeds output rows i − reach … i + reach (dy = i − output row).
        for (int i = firstRow - reach; i < endRow + reach; ++i) {
            if (i + reach >= firstRow && i + reach < endRow)
                std::memset(pendingRow(i + reach), identity, size_t(rowLength));
            detail::sampleRow(source, area.y + i, area.x - reach, area.width + 2 * reach,
                              repeatEdges ? detail::Outside::nearestEdge : detail::Outside::zero, wide.data());
            // span = running extreme over [x − w, x + w], grown one w at a time.
            std::memcpy(span.data(), wide.data() + reach * channels, size_t(rowLength));
            for (int w = 0; w <= reach; ++w) {
                if (w > 0)
                    combine(span.data(), wide.data() + (reach - w) * channels, wide.data() + (reach + w) * channels,
                            rowLength);
                for (const int dy : rowsOfHalfWidth[size_t(w)]) {
                    const int outputRow = i - dy;
                    if (outputRow >= firstRow && outputRow < endRow)
                        combine(pendingRow(outputRow), span.data(), rowLength);
                }
            }
            const int finished = i - reach;
            if (finished >= firstRow && finished < endRow)
                std::memcpy(out.ptr(finished), pendingRow(finished), size_t(rowLength));
        }
    }
};

cv::Mat diskMorphology(const cv::Mat& source, cv::Rect area, double radius, bool maximum, bool repeatEdges)
{
    const int reach = diskReach(radius);
    const DiskPass pass{source, area, reach, maximum, repeatEdges, diskRows(radius, reach)};
    cv::Mat out = newPixelBuffer(area.size(), source.type());
    // Each band re-reads 2 × reach rows; keep bands several times taller than that.
    parallelRows(
        area.height, std::int64_t(area.width) * (2 * reach + 1),
        [&](int firstRow, int endRow) { pass.run(out, firstRow, endRow); }, 4 * reach);
    return out;
}

template <class Value>
Value morphology(const Value& value, double radius, EdgeMode edges, bool maximum)
{
    if (diskReach(radius) == 0 || value.empty())
        return value;
    radius = std::min(radius, kMaxMorphologyRadius);
    // Where the disk from any pixel already covers the whole extent a larger one
    // changes nothing (clamped edges only repeat extent pixels; a transparent
    // minimum is 0 everywhere by then), so the work is bounded by the image.
    if (edges == EdgeMode::clamp || !maximum)
        radius = std::min(radius, std::hypot(value.width(), value.height()) + 1);
    const int reach = diskReach(radius);
    const cv::Rect own({}, value.size());
    if (edges == EdgeMode::clamp)
        return Value(diskMorphology(value.pixels, own, radius, maximum, true), value.origin);
    if (!maximum)
        return Value(diskMorphology(value.pixels, own, radius, maximum, false), value.origin);
    const cv::Rect grown = checkedExtent(
        cv::Rect(-reach, -reach, value.width() + 2 * reach, value.height() + 2 * reach));
    return Value(diskMorphology(value.pixels, grown, radius, maximum, false), value.origin + grown.tl());
}

} // namespace

int diskReach(double radius)
{
    if (!(radius > 0))
        return 0;
    // 1e-9: a radius computed as 2.9999999999 still reaches 3 pixels.
    return int(std::floor(std::min(radius, kMaxMorphologyRadius) + 1e-9));
}

Image morphologyMaximum(const Image& image, double radius, EdgeMode edges) { return morphology(image, radius, edges, true); }
Image morphologyMinimum(const Image& image, double radius, EdgeMode edges) { return morphology(image, radius, edges, false); }
Matte morphologyMaximum(const Matte& matte, double radius, EdgeMode edges) { return morphology(matte, radius, edges, true); }
Matte morphologyMinimum(const Matte& matte, double radius, EdgeMode edges) { return morphology(matte, radius, edges, false); }

} // namespace zephrin
