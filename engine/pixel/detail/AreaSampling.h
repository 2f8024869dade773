#pragma once
// Reading a rectangle of a pixel buffer that may reach beyond the buffer: the
// shared step of rendering, clamping to an extent and padding before a filter.

#include <opencv2/core.hpp>

namespace zephrin::detail {

// What a read outside the buffer yields.
enum class Outside {
    zero,        // transparent (images) or black (mattes)
    nearestEdge, // the nearest edge pixel, repeated outward without limit
};

// A new buffer of area.size() (same type as `pixels`, rows contiguous) whose
// pixel (x, y) is pixels(area.y + y, area.x + x), or what `outside` says where
// that lies beyond the buffer. An empty buffer reads as zero everywhere. Never
// reads beyond `pixels` even when it is a view into a larger buffer. An area
// beyond the pixel layer's limits throws std::length_error, unallocated.
// Cost: one parallel pass over the area.
cv::Mat sampleArea(const cv::Mat& pixels, cv::Rect area, Outside outside);

// One row of sampleArea: pixels (firstX … firstX + width − 1, y) into `row`.
// `pixels` must not be empty.
void sampleRow(const cv::Mat& pixels, int y, int firstX, int width, Outside outside, uchar* row);

// As sampleArea, but when `area` lies inside the buffer it returns a view that
// shares the pixels (no copy). Callers must not write into the result.
cv::Mat viewOrSample(const cv::Mat& pixels, cv::Rect area, Outside outside);

} // namespace zephrin::detail
