#pragma once
// The loop of a compositing operation: every input read over one common
// rectangle (shared when an input already covers exactly that rectangle,
// zero-padded otherwise), one new buffer written row by row in parallel.

#include "engine/pixel/detail/PixelMap.h"
#include "engine/pixel/detail/PlaneArea.h"

#include <array>
#include <tuple>

namespace zephrin::detail {

// body(outRow, inputRow..., width), each input row starting at area's left end.
template <class Body, class... Values>
cv::Mat compositeOver(cv::Rect area, int type, Body body, const Values&... inputs)
{
    const std::array<cv::Mat, sizeof...(Values)> views{areaView(inputs, area)...};
    return fillRows(area.size(), type, [&](int y, uchar* out) {
        std::apply([&](const auto&... view) { body(out, view.ptr(y)..., area.width); }, views);
    });
}

// The smallest rectangle holding both extents; an empty extent adds nothing.
inline cv::Rect unionExtent(cv::Rect a, cv::Rect b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return a | b;
}

} // namespace zephrin::detail
