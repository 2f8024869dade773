#pragma once
// The loop of a compositing operation: every input read over one common
// rectangle (shared when an input already covers exactly that rectangle,
// zero-padded otherwise), one new buffer written row by row in parallel.

#include "engine/pixel/Image.h"
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

// Two images combined row by row over the union of their extents (each
// transparent outside its own): combine(front, back, out, pixels).
template <class RowCombine>
Image combineImages(const Image& foreground, const Image& background, RowCombine combine)
{
    const cv::Rect area = unionExtent(foreground.extent(), background.extent());
    if (area.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), area.tl());
    return Image(compositeOver(
                     area, CV_8UC4,
                     [&](uchar* out, const uchar* front, const uchar* back, int pixels) {
                         combine(front, back, out, pixels);
                     },
                     foreground, background),
                 area.tl());
}

// Two mattes combined row by row over `area`: combine(first, second, out, width).
// An empty area gives an empty matte at the first matte's origin.
template <class RowCombine>
Matte combineMattes(const Matte& a, const Matte& b, cv::Rect area, RowCombine combine)
{
    if (area.empty())
        return Matte(cv::Mat(0, 0, CV_8UC1), a.origin);
    return Matte(compositeOver(
                     area, CV_8UC1,
                     [&](uchar* out, const uchar* first, const uchar* second, int width) {
                         combine(first, second, out, width);
                     },
                     a, b),
                 area.tl());
}

} // namespace zephrin::detail
