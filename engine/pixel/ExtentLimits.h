#pragma once
// The largest extent an operation may produce. A blur or dilation of absurd
// radius, or a scale of absurd factor, would otherwise ask for terabytes or
// overflow int arithmetic; it gets a clear exception instead.

#include <opencv2/core.hpp>

#include <cstdint>
#include <stdexcept>

namespace zephrin {

inline constexpr int kMaxSide = 1 << 16;                     // pixels on either side
inline constexpr std::int64_t kMaxPixels = std::int64_t(1) << 30; // pixels in all

[[noreturn]] inline void throwExtentTooLarge()
{
    throw std::length_error("pixel operation result larger than 65536 pixels on a side or 2^30 pixels");
}

// Returns the rectangle, or throws std::length_error when it is larger than the limits.
inline cv::Rect checkedExtent(cv::Rect extent)
{
    if (extent.width > kMaxSide || extent.height > kMaxSide
        || std::int64_t(extent.width) * extent.height > kMaxPixels)
        throwExtentTooLarge();
    return extent;
}

// True when a buffer of `size` stays within the limits (callers that answer
// "nothing" rather than throw).
inline bool withinLimits(cv::Size size)
{
    return size.width <= kMaxSide && size.height <= kMaxSide && std::int64_t(size.width) * size.height <= kMaxPixels;
}

} // namespace zephrin
