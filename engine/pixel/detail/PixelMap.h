#pragma once
// The loop shape of every point operation: a new buffer filled row by row in
// parallel. The buffer is first touched by the threads that fill it, so the
// page faults of a large new image are spread over the pool as well.

#include "engine/pixel/ParallelRows.h"
#include "engine/pixel/PixelBuffer.h"

namespace zephrin::detail {

// A new buffer of `size` and `type`; body(y, outRow) fills row y. A size beyond
// the pixel layer's limits throws std::length_error before anything is allocated.
template <class RowBody>
cv::Mat fillRows(cv::Size size, int type, RowBody body)
{
    cv::Mat out = newPixelBuffer(size, type);
    parallelRows(size.height, size.width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y)
            body(y, out.ptr(y));
    });
    return out;
}

// A new buffer of in.size() and `type`; body(inRow, outRow, width) maps one row.
template <class RowBody>
cv::Mat mapPixels(const cv::Mat& in, int type, RowBody body)
{
    return fillRows(in.size(), type, [&](int y, uchar* out) { body(in.ptr(y), out, in.cols); });
}

} // namespace zephrin::detail
