#pragma once
// The part of a mask that is connected to the image border, kept as horizontal
// runs: the compact form the flat-colour keying floods and paints with.
//
// A mask's pixels are "inside" by a predicate on their byte (CV_8UC1), or on
// the whole pixel (pixelRuns). Runs are maximal horizontal stretches of inside
// pixels, listed per row in order. Two runs of neighbouring rows touch when
// their column spans overlap, which is exactly 4-connectivity.
// floodFromBorder keeps the runs connected to the border (top and bottom rows,
// left and right columns): the same pixels a pixel-by-pixel flood from every
// inside border pixel reaches. Method: the runs that touch are joined into
// sets (union-find, one sweep over each pair of neighbouring rows, bands of
// rows side by side), and the runs in the border's set are kept. Cost: one
// parallel pass over the pixels to cut the runs, then time proportional to
// the number of runs, most of it shared among the threads.

#include "engine/pixel/ParallelRows.h"

#include <opencv2/core.hpp>

#include <vector>

namespace zephrin {

// Columns [start, end) of one row.
struct Run {
    int start = 0;
    int end = 0;

    friend bool operator==(const Run&, const Run&) = default;
};

// The runs of every row, top row first, each row's runs left to right.
using RowRuns = std::vector<std::vector<Run>>;

// The runs of the pixels of `pixels` (PixelBytes bytes each) for which
// inside(pointer to the pixel) holds.
template <size_t PixelBytes, class Inside>
RowRuns pixelRuns(const cv::Mat& pixels, Inside inside)
{
    CV_Assert(pixels.elemSize() == PixelBytes);
    RowRuns rows(static_cast<size_t>(pixels.rows));
    parallelRows(pixels.rows, pixels.cols, [&](int firstRow, int endRow) {
        // Where the row goes in or out, noted without a branch: noisy rows
        // change every few pixels, and a mispredicted branch costs more than
        // the test.
        std::vector<int> edges(static_cast<size_t>(pixels.cols) + 1);
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* p = pixels.ptr(y);
            size_t count = 0;
            bool was = false;
            for (int x = 0; x < pixels.cols; ++x) {
                const bool is = inside(p + PixelBytes * static_cast<size_t>(x));
                edges[count] = x;
                count += is != was;
                was = is;
            }
            if (was)
                edges[count++] = pixels.cols;
            std::vector<Run>& runs = rows[static_cast<size_t>(y)];
            runs.reserve(count / 2);
            for (size_t i = 0; i < count; i += 2)
                runs.push_back({edges[i], edges[i + 1]});
        }
    });
    return rows;
}

// The runs of the pixels of `mask` (CV_8UC1) whose byte satisfies `inside`.
template <class Inside>
RowRuns rowRuns(const cv::Mat& mask, Inside inside)
{
    CV_Assert(mask.type() == CV_8UC1);
    return pixelRuns<1>(mask, [&](const uchar* p) { return inside(*p); });
}

// The runs connected to the border of an image `width` pixels wide.
RowRuns floodFromBorder(const RowRuns& runs, int width);

// A CV_8UC1 mask of `size`: 255 on the runs, 0 elsewhere.
cv::Mat maskOf(const RowRuns& runs, cv::Size size);

} // namespace zephrin
