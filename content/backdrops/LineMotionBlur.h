#pragma once
// Motion blur along a straight line: every pixel becomes the mean of the
// 2 × radius + 1 samples on a segment through it, which streaks the image in
// one direction.
//
// Float images (CV_32F, any number of channels) in, the same size and type out;
// edges mirror. `angle` is in radians, counter-clockwise from the +x axis with y
// pointing up; the flip to image rows happens here, once. Cost:
// one filter pass with a kernel as long as the segment (1 × 19 for the
// axis-aligned angles of the grain, where it is a running box sum).

#include <opencv2/core.hpp>

namespace zephrin {

cv::Mat lineMotionBlur(const cv::Mat& image, int radius, double angle);

} // namespace zephrin
