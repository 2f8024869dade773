#pragma once
// The part of a mask that is connected to the image border.
//
// In: a CV_8UC1 mask, nonzero = may be reached. Out: CV_8UC1 of the same size,
// 255 on every pixel connected to the border (top and bottom rows, left and right
// columns) through 4-connected nonzero pixels, 0 elsewhere. The result is the
// same set a pixel-by-pixel flood from every border pixel would reach.
// Method: the mask is cut into horizontal runs (in parallel rows); two runs of
// neighbouring rows touch when their spans overlap; a depth-first search over
// runs, seeded with the runs on the border, marks the reached ones, which are
// then written out (in parallel rows). Cost: two passes over the pixels plus
// time proportional to the number of runs.

#include <opencv2/core.hpp>

namespace zephrin {

cv::Mat floodFromBorder(const cv::Mat& mask);

} // namespace zephrin
