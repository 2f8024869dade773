#pragma once
// Splits a per-row pixel loop over OpenCV's thread pool when the work is large
// enough to pay for the threads. Used by every per-pixel loop of the pixel layer.

#include <opencv2/core.hpp>

#include <algorithm>
#include <cstdint>

namespace zephrin {

// Below about a quarter megapixel one thread is faster than waking the pool.
inline constexpr std::int64_t kParallelMinPixels = 1 << 18;

// Calls body(firstRow, endRow) for stripes covering [0, rows). `minRowsPerStripe`
// keeps stripes tall enough when each stripe re-reads a halo of rows (filters).
template <class Body>
void parallelRows(int rows, std::int64_t pixelsPerRow, Body&& body, int minRowsPerStripe = 1)
{
    if (rows <= 0)
        return;
    const std::int64_t pixels = std::int64_t(rows) * pixelsPerRow;
    const int threads = std::max(1, cv::getNumThreads());
    // Four stripes per thread balance uneven rows without paying much per stripe.
    const int stripes = std::clamp(rows / std::max(minRowsPerStripe, 1), 1, 4 * threads);
    if (pixels < kParallelMinPixels || stripes == 1 || threads == 1) {
        body(0, rows);
        return;
    }
    cv::parallel_for_(cv::Range(0, rows), [&](const cv::Range& range) { body(range.start, range.end); },
                      double(stripes));
}

} // namespace zephrin
