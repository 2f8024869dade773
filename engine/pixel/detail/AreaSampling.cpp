#include "engine/pixel/detail/AreaSampling.h"

#include "engine/pixel/ExtentLimits.h"
#include "engine/pixel/ParallelRows.h"
#include "engine/pixel/PixelBuffer.h"

#include <algorithm>
#include <cstring>

namespace zephrin::detail {

void sampleRow(const cv::Mat& pixels, int y, int firstX, int width, Outside outside, uchar* row)
{
    const size_t pixelBytes = pixels.elemSize();
    const bool rowInside = y >= 0 && y < pixels.rows;
    if (!rowInside && outside == Outside::zero) {
        std::memset(row, 0, size_t(width) * pixelBytes);
        return;
    }
    const uchar* src = pixels.ptr(std::clamp(y, 0, pixels.rows - 1));
    // Columns left of, inside and right of the buffer.
    const int insideBegin = std::clamp(-firstX, 0, width);
    const int insideEnd = std::clamp(pixels.cols - firstX, insideBegin, width);
    if (insideEnd > insideBegin)
        std::memcpy(row + size_t(insideBegin) * pixelBytes, src + size_t(firstX + insideBegin) * pixelBytes,
                    size_t(insideEnd - insideBegin) * pixelBytes);
    if (outside == Outside::zero) {
        std::memset(row, 0, size_t(insideBegin) * pixelBytes);
        std::memset(row + size_t(insideEnd) * pixelBytes, 0, size_t(width - insideEnd) * pixelBytes);
        return;
    }
    const uchar* first = src;
    const uchar* last = src + size_t(pixels.cols - 1) * pixelBytes;
    for (int x = 0; x < insideBegin; ++x)
        std::memcpy(row + size_t(x) * pixelBytes, first, pixelBytes);
    for (int x = insideEnd; x < width; ++x)
        std::memcpy(row + size_t(x) * pixelBytes, last, pixelBytes);
}

cv::Mat sampleArea(const cv::Mat& pixels, cv::Rect area, Outside outside)
{
    CV_Assert(area.width >= 0 && area.height >= 0);
    cv::Mat out = newPixelBuffer(checkedExtent(area).size(), pixels.type());
    if (out.empty())
        return out;
    const bool zeroOnly = pixels.empty() || (outside == Outside::zero && (area & cv::Rect({}, pixels.size())).empty());
    parallelRows(area.height, area.width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            if (zeroOnly)
                std::memset(out.ptr(y), 0, size_t(area.width) * out.elemSize());
            else
                sampleRow(pixels, area.y + y, area.x, area.width, outside, out.ptr(y));
        }
    });
    return out;
}

cv::Mat viewOrSample(const cv::Mat& pixels, cv::Rect area, Outside outside)
{
    if (!pixels.empty() && (area & cv::Rect({}, pixels.size())) == area && !area.empty())
        return pixels(area);
    return sampleArea(pixels, area, outside);
}

} // namespace zephrin::detail
