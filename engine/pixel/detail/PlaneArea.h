#pragma once
// An Image's or Matte's pixels over any rectangle of image space, with the
// plane's rule outside the extent (transparent, black) or the clamp rule.

#include "engine/pixel/detail/AreaSampling.h"

namespace zephrin::detail {

// A new buffer of `area` (rows contiguous, the caller may write into it).
template <class Value>
cv::Mat sampledArea(const Value& value, cv::Rect area, Outside outside)
{
    const cv::Mat pixels = value.empty() ? cv::Mat(0, 0, Value::kPixelType) : value.pixels;
    return sampleArea(pixels, area - value.origin, outside);
}

// The pixels over `area`, shared with the value when `area` lies inside its
// extent, else a zero-padded copy. Read only.
template <class Value>
cv::Mat areaView(const Value& value, cv::Rect area)
{
    const cv::Mat pixels = value.empty() ? cv::Mat(0, 0, Value::kPixelType) : value.pixels;
    return viewOrSample(pixels, area - value.origin, Outside::zero);
}

} // namespace zephrin::detail
