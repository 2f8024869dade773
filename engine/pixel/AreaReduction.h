#pragma once
// Averaging a grey plane down by area: each cell the mean of the pixels it
// covers, the ones it covers in part weighted by the part.
//
// The bytes are those of cv::resize(…, cv::INTER_AREA) for a reduction: its
// table of overlaps and its single-precision sums, in the same order. The
// differences are where the work goes: OpenCV splits a result by its pixel
// count, so a 512-cell-wide reduction of a 12-megapixel matte runs on three
// threads; here the cells' rows are spread over every core, and one channel
// of a multi-channel buffer (an RGBA image's alpha) is read in place, with no
// plane of its own first. Reductions by a whole factor on both axes, where
// OpenCV takes another road, go to cv::resize itself.
// An RGBA image's alpha at 12 MP to 512 × 384 (the subject's bounds): 272
// million instructions through an alpha plane and cv::resize, 119 million
// here; on 8 cores (load about 10) 11.6 ms against 4.8 ms.

#include <opencv2/core.hpp>

namespace zephrin {

// `pixels` (8 bits, any number of channels) read at `channel`, averaged down
// to `cells` (each side at least 1 and at most the buffer's): CV_8UC1.
cv::Mat areaReduced(const cv::Mat& pixels, int channel, cv::Size cells);

} // namespace zephrin
