#include "engine/pixel/LanczosScale.h"

#include "engine/pixel/ExtentLimits.h"
#include "engine/pixel/ParallelRows.h"
#include "engine/pixel/PixelBuffer.h"
#include "engine/pixel/detail/RowKernels.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace zephrin {

namespace {

constexpr double kLobes = 3;

double lanczos(double x)
{
    if (x == 0)
        return 1;
    if (std::abs(x) >= kLobes)
        return 0;
    const double px = std::numbers::pi * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// The taps of one axis: output index i reads source indices first[i] …
// first[i] + count[i] − 1 with weights[i × stride …].
struct AxisTaps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights;
    int stride = 0;
};

// Output index i samples the source at index (i + offset) / factor − 0.5, where
// offset places output pixel centres in source pixel units.
AxisTaps axisTaps(int outputSize, int sourceSize, double factor, double offset)
{
    // Kernel widening when reducing; wider than the source would only flatten it.
    const double stretch = std::clamp(1.0 / factor, 1.0, double(std::max(sourceSize, 1)));
    const double support = kLobes * stretch;
    AxisTaps taps;
    taps.stride = int(std::ceil(2 * support)) + 2;
    taps.first.resize(size_t(outputSize));
    taps.count.resize(size_t(outputSize));
    taps.weights.assign(size_t(outputSize) * size_t(taps.stride), 0.f);
    std::vector<double> raw;
    for (int i = 0; i < outputSize; ++i) {
        // Centres lie within half a source pixel of the source, but for rounded
        // ends; the clamp keeps absurd factors from overflowing the indices.
        const double centre = std::clamp((i + offset) / factor - 0.5, -1.0, double(sourceSize));
        int lo = std::max(int(std::ceil(centre - support)), 0);
        int hi = std::min(int(std::floor(centre + support)), sourceSize - 1);
        double total = 0;
        raw.clear();
        for (int k = lo; k <= hi; ++k) {
            raw.push_back(lanczos((k - centre) / stretch));
            total += raw.back();
        }
        if (raw.empty() || total < 1e-6) {
            // Centre beyond the source, where only lobes remain (rounded ends): the nearest pixel.
            lo = hi = std::clamp(int(std::lround(centre)), 0, sourceSize - 1);
            raw.assign(1, 1.0);
            total = 1;
        }
        taps.first[size_t(i)] = lo;
        taps.count[size_t(i)] = hi - lo + 1;
        float* w = &taps.weights[size_t(i) * size_t(taps.stride)];
        for (size_t k = 0; k < raw.size(); ++k)
            w[k] = float(raw[k] / total);
    }
    return taps;
}

// Horizontal pass of one source row into an output-width row.
void resampleRow(const uchar* src, int channels, const AxisTaps& taps, uchar* dst, int outputWidth)
{
    for (int i = 0; i < outputWidth; ++i) {
        const float* w = &taps.weights[size_t(i) * size_t(taps.stride)];
        const uchar* first = src + taps.first[size_t(i)] * channels;
        const int count = taps.count[size_t(i)];
        if (channels == 4) {
            detail::weightedPixelSum4(first, w, count, dst + 4 * i);
        } else {
            float sum = 0;
            for (int k = 0; k < count; ++k)
                sum += w[k] * float(first[k]);
            dst[i] = cv::saturate_cast<uchar>(sum);
        }
    }
}

cv::Mat resample(const cv::Mat& source, cv::Size outputSize, double factorX, double offsetX, double factorY,
                 double offsetY)
{
    const int channels = source.channels();
    const AxisTaps columns = axisTaps(outputSize.width, source.cols, factorX, offsetX);
    const AxisTaps rows = axisTaps(outputSize.height, source.rows, factorY, offsetY);
    cv::Mat out = newPixelBuffer(outputSize, source.type());
    const int rowLength = outputSize.width * channels;

    // Each band resamples the source rows it needs horizontally, then each output
    // row is a weighted sum of those rows.
    parallelRows(
        outputSize.height, std::int64_t(outputSize.width) * (columns.stride + rows.stride),
        [&](int firstRow, int endRow) {
            const int firstSource = rows.first[size_t(firstRow)];
            int endSource = firstSource;
            for (int y = firstRow; y < endRow; ++y)
                endSource = std::max(endSource, rows.first[size_t(y)] + rows.count[size_t(y)]);
            cv::Mat band(endSource - firstSource, outputSize.width, source.type());
            for (int y = firstSource; y < endSource; ++y)
                resampleRow(source.ptr(y), channels, columns, band.ptr(y - firstSource), outputSize.width);
            std::vector<const uchar*> tapRows(size_t(rows.stride));
            for (int y = firstRow; y < endRow; ++y) {
                const int count = rows.count[size_t(y)];
                for (int k = 0; k < count; ++k)
                    tapRows[size_t(k)] = band.ptr(rows.first[size_t(y)] + k - firstSource);
                detail::weightedRowSum(tapRows.data(), &rows.weights[size_t(y) * size_t(rows.stride)], count,
                                       out.ptr(y), rowLength);
                if (channels == 4)
                    detail::limitColourToAlpha(out.ptr(y), outputSize.width);
            }
        },
        4 * rows.stride);
    return out;
}

bool usableFactor(double factor) { return std::isfinite(factor) && factor > 0; }

template <class Value>
Value scaled(const Value& value, double scale, double aspectRatio)
{
    const double factorX = scale * aspectRatio;
    const double factorY = scale;
    if (!usableFactor(factorX) || !usableFactor(factorY) || value.empty())
        return Value(cv::Mat(0, 0, Value::kPixelType), value.origin);
    if (factorX == 1 && factorY == 1)
        return value;
    const double left = std::round(value.origin.x * factorX);
    const double top = std::round(value.origin.y * factorY);
    const double right = std::round((value.origin.x + value.width()) * factorX);
    const double bottom = std::round((value.origin.y + value.height()) * factorY);
    // Checked in floating point first: the products may not fit an int.
    constexpr double kMaxCoordinate = 1 << 30;
    if (std::abs(left) > kMaxCoordinate || std::abs(top) > kMaxCoordinate || right - left > kMaxSide
        || bottom - top > kMaxSide)
        throwExtentTooLarge();
    const cv::Rect extent = checkedExtent(
        cv::Rect(int(left), int(top), std::max(int(right - left), 1), std::max(int(bottom - top), 1)));
    // Output pixel i lies at plane x = extent.x + i + 0.5, i.e. at source index
    // (extent.x + i + 0.5) / factor − origin.x − 0.5.
    const cv::Mat pixels = resample(value.pixels, extent.size(), factorX, extent.x - value.origin.x * factorX + 0.5,
                                    factorY, extent.y - value.origin.y * factorY + 0.5);
    return Value(pixels, extent.tl());
}

template <class Value>
Value resizedTo(const Value& value, cv::Size size)
{
    if (value.empty() || size.width < 1 || size.height < 1)
        return Value(cv::Mat(0, 0, Value::kPixelType), value.origin);
    checkedExtent(cv::Rect({}, size));
    if (size == value.pixels.size())
        return value;
    const double factorX = double(size.width) / value.width();
    const double factorY = double(size.height) / value.height();
    return Value(resample(value.pixels, size, factorX, 0.5, factorY, 0.5), value.origin);
}

} // namespace

Image lanczosScale(const Image& image, double scale, double aspectRatio) { return scaled(image, scale, aspectRatio); }
Matte lanczosScale(const Matte& matte, double scale, double aspectRatio) { return scaled(matte, scale, aspectRatio); }
Image resized(const Image& image, cv::Size size) { return resizedTo(image, size); }
Matte resized(const Matte& matte, cv::Size size) { return resizedTo(matte, size); }

} // namespace zephrin
