#pragma once
// The part of a mask that is connected to the image border, kept as horizontal
// runs: the compact form the flat-colour keying floods and paints with.
//
// A mask's pixels are "inside" by a predicate on their byte (CV_8UC1). Runs are
// maximal horizontal stretches of inside pixels, listed per row in order. Two
// runs of neighbouring rows touch when their column spans overlap, which is
// exactly 4-connectivity.
// floodFromBorder keeps the runs connected to the border (top and bottom rows,
// left and right columns): the same pixels a pixel-by-pixel flood from every
// inside border pixel reaches. Method: a depth-first search over runs, seeded
// with the runs on the border. Cost: one parallel pass over the pixels to cut
// the runs, then time proportional to the number of runs.

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

// The runs of the pixels of `mask` (CV_8UC1) whose byte satisfies `inside`.
template <class Inside>
RowRuns rowRuns(const cv::Mat& mask, Inside inside)
{
    CV_Assert(mask.type() == CV_8UC1);
    RowRuns rows(static_cast<size_t>(mask.rows));
    parallelRows(mask.rows, mask.cols, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* p = mask.ptr(y);
            std::vector<Run>& runs = rows[static_cast<size_t>(y)];
            int x = 0;
            while (x < mask.cols) {
                while (x < mask.cols && !inside(p[x]))
                    ++x;
                if (x == mask.cols)
                    break;
                const int start = x;
                while (x < mask.cols && inside(p[x]))
                    ++x;
                runs.push_back({start, x});
            }
        }
    });
    return rows;
}

// The runs connected to the border of an image `width` pixels wide.
RowRuns floodFromBorder(const RowRuns& runs, int width);

// A CV_8UC1 mask of `size`: 255 on the runs, 0 elsewhere.
cv::Mat maskOf(const RowRuns& runs, cv::Size size);

} // namespace zephrin
