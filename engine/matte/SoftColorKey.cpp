#include "engine/matte/SoftColorKey.h"

#include "engine/pixel/detail/ParallelRows.h"

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

} // namespace

cv::Mat softColorKey(const cv::Mat& rgba, RGBAColor key, double tolerance)
{
    CV_Assert(rgba.type() == CV_8UC4);
    tolerance = std::isnan(tolerance) ? 0.0 : std::clamp(tolerance, 0.0, 100.0);
    const double t = (tolerance / 100) * 0.58 + 0.02;
    const double soft = 0.35 * t;
    const double low = t - soft;
    const double high = t + soft;
    const double lowSquared = largestSquareAtMost(low);
    const double highSquared = smallestSquareAtLeast(high);

    // Squared distance of each channel byte to the key's channel.
    std::array<std::array<double, 256>, 3> squares;
    const double keyChannels[3] = {key.r, key.g, key.b};
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) {
            const double delta = v / 255.0 - keyChannels[c];
            squares[c][v] = delta * delta;
        }

    cv::Mat matte(rgba.size(), CV_8UC1);
    detail::parallelRows(rgba.rows, rgba.cols, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* p = rgba.ptr(y);
            uchar* out = matte.ptr(y);
            for (int x = 0; x < rgba.cols; ++x, p += 4) {
                const double squared = squares[0][p[0]] + squares[1][p[1]] + squares[2][p[2]];
                if (squared <= lowSquared) {
                    out[x] = 0;
                } else if (squared >= highSquared) {
                    out[x] = 255;
                } else {
                    const double a = (std::sqrt(squared) - low) / (2 * soft);
                    out[x] = static_cast<uchar>(std::clamp(std::round(a * 255), 0.0, 255.0));
                }
            }
        }
    });
    return matte;
}

} // namespace zephrin
