#pragma once
// Point operations on premultiplied RGBA whose new colour channel depends only
// on that channel and the pixel's alpha: one 64 KiB table instead of arithmetic.

#include <opencv2/core.hpp>

namespace zephrin {

// table[alpha * 256 + channel] = the new channel; alpha is kept. A new buffer of
// rgba's size (CV_8UC4). Cost: one parallel lookup pass.
cv::Mat mapThroughChannelTable(const cv::Mat& rgba, const uchar* table);
// The same for `pixels` pixels of one row, from `in` into `out`.
void mapRowThroughChannelTable(const uchar* in, uchar* out, int pixels, const uchar* table);

} // namespace zephrin
