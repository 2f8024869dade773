#pragma once
// Pictures to trace, drawn pixel by pixel.

#include "engine/pixel/Image.h"
#include "output/vector/TraceMask.h"

#include <functional>

namespace zephrin::testing {

// Opaque pixels of `colour` (straight RGB, 0-255) where `inside(x, y)`,
// transparent elsewhere.
inline Image silhouette(int w, int h, const std::function<bool(int, int)>& inside,
                        cv::Vec3b colour = {0, 0, 0})
{
    cv::Mat pixels(h, w, CV_8UC4, cv::Scalar(0, 0, 0, 0));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inside(x, y))
                pixels.at<cv::Vec4b>(y, x) = {colour[0], colour[1], colour[2], 255};
    return Image(pixels);
}

// An opaque picture whose every pixel's colour is `colourAt(x, y)`.
inline Image painting(int w, int h, const std::function<cv::Vec3b(int, int)>& colourAt)
{
    cv::Mat pixels(h, w, CV_8UC4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const cv::Vec3b c = colourAt(x, y);
            pixels.at<cv::Vec4b>(y, x) = {c[0], c[1], c[2], 255};
        }
    return Image(pixels);
}

inline tracing::TraceMask mask(int w, int h, const std::function<bool(int, int)>& inside)
{
    tracing::TraceMask m(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inside(x, y))
                m.set(x, y);
    return m;
}

inline bool inRect(int x, int y, int left, int top, int width, int height)
{
    return x >= left && x < left + width && y >= top && y < top + height;
}

inline bool inDisc(int x, int y, double cx, double cy, double r)
{
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= r * r;
}

} // namespace zephrin::testing
