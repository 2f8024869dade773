#include "engine/matte/SoftColorKey.h"

#include "engine/pixel/ParallelRows.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zephrin {

namespace {

// The largest s with sqrt(s) <= limit, so that d <= limit exactly when d² <= s
// (the square root is correctly rounded and monotonic).
double largestSquareAtMost(double limit)
{
    double s = limit * limit;
    while (std::sqrt(s) > limit)
        s = std::nextafter(s, 0.0);
    while (std::sqrt(std::nextafter(s, INFINITY)) <= limit)
        s = std::nextafter(s, INFINITY);
    return s;
}

// The smallest s with sqrt(s) >= limit.
double smallestSquareAtLeast(double limit)
{
    double s = limit * limit;
    while (std::sqrt(s) < limit)
        s = std::nextafter(s, INFINITY);
    while (s > 0 && std::sqrt(std::nextafter(s, 0.0)) >= limit)
        s = std::nextafter(s, 0.0);
    return s;
}

// The key's ramp for one pixel: three table reads and a comparison of squared
// distances; the square root only on the ramp itself.
class KeyRamp {
public:
    KeyRamp(RGBAColor key, double tolerance)
    {
        const double channels[3] = {key.r, key.g, key.b};
        const double t = (tolerance / 100) * 0.58 + 0.02;
        m_soft = 0.35 * t;
        m_low = t - m_soft;
        m_lowSquared = largestSquareAtMost(m_low);
        m_highSquared = smallestSquareAtLeast(t + m_soft);
        for (int c = 0; c < 3; ++c)
            for (int v = 0; v < 256; ++v) {
                const double delta = v / 255.0 - channels[c];
                m_squares[c][v] = delta * delta;
            }
    }

    uchar byte(const uchar* rgba) const
    {
        const double squared = m_squares[0][rgba[0]] + m_squares[1][rgba[1]] + m_squares[2][rgba[2]];
        if (squared <= m_lowSquared)
            return 0;
        if (squared >= m_highSquared)
            return 255;
        const double a = (std::sqrt(squared) - m_low) / (2 * m_soft);
        return static_cast<uchar>(std::clamp(std::round(a * 255), 0.0, 255.0));
    }

private:
    double m_soft, m_low, m_lowSquared, m_highSquared;
    std::array<std::array<double, 256>, 3> m_squares; // (v / 255 − key)² per channel
};

} // namespace

cv::Mat softColorKey(const cv::Mat& rgba, RGBAColor key, double tolerance)
{
    CV_Assert(rgba.type() == CV_8UC4);
    tolerance = std::isnan(tolerance) ? 0.0 : std::clamp(tolerance, 0.0, 100.0);
    for (double* channel : {&key.r, &key.g, &key.b})
        if (!std::isfinite(*channel))
            *channel = 0;
    const KeyRamp ramp(key, tolerance);

    cv::Mat matte(rgba.size(), CV_8UC1);
    parallelRows(rgba.rows, rgba.cols, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* p = rgba.ptr(y);
            uchar* out = matte.ptr(y);
            for (int x = 0; x < rgba.cols; ++x)
                out[x] = ramp.byte(p + 4 * x);
        }
    });
    return matte;
}

} // namespace zephrin
