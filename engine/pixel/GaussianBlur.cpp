#include "engine/pixel/GaussianBlur.h"

#include "engine/pixel/detail/AreaSampling.h"
#include "engine/pixel/detail/PlaneArea.h"
#include "engine/pixel/ExtentLimits.h"
#include "engine/pixel/ParallelRows.h"
#include "engine/pixel/PixelBuffer.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace zephrin {

namespace {

// From this sigma on, blurring a reduced copy is faster than the exact kernel
// (12 MP RGBA: exact 46 ms at sigma 7.9; reduced by 2, 20 ms at sigma 8).
constexpr double kReducedFromSigma = 8;

int reductionFactor(double sigma) { return sigma < kReducedFromSigma ? 1 : int(sigma / 4); }

cv::Mat exactBlur(const cv::Mat& pixels, double sigma, int border)
{
    const int kernel = 2 * blurReach(sigma) + 1;
    cv::Mat out;
    out.allocator = pixelBufferAllocator();
    cv::GaussianBlur(pixels, out, cv::Size(kernel, kernel), sigma, sigma, border | cv::BORDER_ISOLATED);
    return out;
}

// The mean of every factor × factor block of `area` (pixel coordinates of
// `pixels`, reaching outside by the `outside` rule; sides multiples of factor),
// read straight from the source so that no padded full-size copy is made.
cv::Mat blockMeans(const cv::Mat& pixels, cv::Rect area, int factor, detail::Outside outside)
{
    const int channels = pixels.channels();
    const cv::Size reducedSize(area.width / factor, area.height / factor);
    const int rowLength = area.width * channels;
    const std::uint32_t blockArea = std::uint32_t(factor) * std::uint32_t(factor);
    cv::Mat reduced(reducedSize, pixels.type());
    parallelRows(reducedSize.height, std::int64_t(area.width) * factor, [&](int firstRow, int endRow) {
        std::vector<uchar> row(static_cast<size_t>(rowLength));
        std::vector<std::uint32_t> columnSums(static_cast<size_t>(rowLength));
        for (int r = firstRow; r < endRow; ++r) {
            std::fill(columnSums.begin(), columnSums.end(), 0u);
            for (int k = 0; k < factor; ++k) {
                detail::sampleRow(pixels, area.y + r * factor + k, area.x, area.width, outside, row.data());
                for (int i = 0; i < rowLength; ++i)
                    columnSums[size_t(i)] += row[size_t(i)];
            }
            uchar* out = reduced.ptr(r);
            for (int j = 0; j < reducedSize.width; ++j)
                for (int c = 0; c < channels; ++c) {
                    std::uint32_t sum = blockArea / 2;
                    for (int i = 0; i < factor; ++i)
                        sum += columnSums[size_t((j * factor + i) * channels + c)];
                    out[j * channels + c] = uchar(sum / blockArea);
                }
        }
    });
    return reduced;
}

// Blur of `area` (pixel coordinates of `pixels`, may reach outside) by sigma.
cv::Mat blurArea(const cv::Mat& pixels, cv::Rect area, double sigma, detail::Outside outside)
{
    const int factor = reductionFactor(sigma);
    if (factor == 1) {
        if (outside == detail::Outside::nearestEdge && area == cv::Rect({}, pixels.size()))
            return exactBlur(pixels, sigma, cv::BORDER_REPLICATE);
        return exactBlur(detail::sampleArea(pixels, area, outside), sigma, cv::BORDER_REPLICATE);
    }
    // Work on `area` plus one reduced pixel on every side, so that the upsampler
    // has true neighbours at the edges, rounded up to whole reduced pixels. Beyond
    // that margin the reduced copy's own edge repeat is exact: a block of repeated
    // edge pixels averages to the same value however far out it lies.
    const cv::Rect padded(area.x - factor, area.y - factor,
                          (area.width + 2 * factor + factor - 1) / factor * factor,
                          (area.height + 2 * factor + factor - 1) / factor * factor);
    const cv::Mat reduced = blockMeans(pixels, padded, factor, outside);
    // Averaging over f × f blocks and interpolating back each blur a little
    // already (variances (f² − 1) / 12 and about f² / 12); the reduced copy takes
    // the rest.
    const double f2 = double(factor) * factor;
    const double remaining = std::sqrt(std::max(sigma * sigma - (f2 - 1) / 12 - f2 / 12, 0.25)) / factor;
    const cv::Mat blurred = exactBlur(reduced, remaining, cv::BORDER_REPLICATE);
    cv::Mat restored;
    restored.allocator = pixelBufferAllocator();
    cv::resize(blurred, restored, padded.size(), 0, 0, cv::INTER_LINEAR);
    return restored(area - padded.tl());
}

template <class Value>
Value blurred(const Value& value, double sigma, EdgeMode edges)
{
    if (!(sigma > 0) || value.empty())
        return value;
    if (edges == EdgeMode::clamp) {
        // By then the result is flat; the bound keeps the working copy small.
        sigma = std::min(sigma, 2.0 * std::max(value.width(), value.height()));
        return Value(blurArea(value.pixels, cv::Rect({}, value.size()), sigma, detail::Outside::nearestEdge),
                     value.origin);
    }
    const int reach = blurReach(sigma);
    const cv::Rect grown = checkedExtent(cv::Rect(-reach, -reach, value.width() + 2 * reach,
                                                          value.height() + 2 * reach));
    return Value(blurArea(value.pixels, grown, sigma, detail::Outside::zero), value.origin + grown.tl());
}

// [first, end) of `span` pulled into [0, size): the indices a copy of the span,
// clamped to the buffer, is made of.
std::pair<int, int> clampedSpan(int first, int end, int size)
{
    const int lo = std::clamp(first, 0, size - 1);
    const int hi = std::clamp(end - 1, 0, size - 1);
    return {lo, hi + 1};
}

template <class Value>
Value blurredClamped(const Value& value, cv::Rect area, double sigma)
{
    if (!(sigma > 0) || value.empty())  // the clamped copy itself; all zero for an empty value
        return Value(detail::sampledArea(value, area, detail::Outside::nearestEdge), area.tl());
    // The bound gaussianBlur applies to the clamped copy, whose sides are area's.
    sigma = std::min(sigma, 2.0 * std::max(area.width, area.height));
    // The copy repeats its own edge beyond the area, not the value's pixels
    // there: the blur reads the part of the value the copy is made of (where
    // area and extent do not meet on an axis, the nearest edge row or column).
    const cv::Rect local = area - value.origin;
    const auto [left, right] = clampedSpan(local.x, local.x + local.width, value.width());
    const auto [top, bottom] = clampedSpan(local.y, local.y + local.height, value.height());
    const cv::Rect window(left, top, right - left, bottom - top);
    return Value(blurArea(value.pixels(window), local - window.tl(), sigma, detail::Outside::nearestEdge),
                 area.tl());
}

} // namespace

int blurReach(double sigma) { return sigma > 0 ? int(std::ceil(3 * std::min(sigma, 1e6))) : 0; }

Image gaussianBlur(const Image& image, double sigma, EdgeMode edges) { return blurred(image, sigma, edges); }

Matte gaussianBlur(const Matte& matte, double sigma, EdgeMode edges) { return blurred(matte, sigma, edges); }

Image gaussianBlurClamped(const Image& image, cv::Rect area, double sigma)
{
    return blurredClamped(image, area, sigma);
}

Matte gaussianBlurClamped(const Matte& matte, cv::Rect area, double sigma)
{
    return blurredClamped(matte, area, sigma);
}

} // namespace zephrin
