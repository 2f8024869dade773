#pragma once
// The mean colour of a set of RGBA pixels and how far it spreads: pixels are
// added one at a time (colour bytes as stored, 0 to 1), then the mean of each
// channel and the deviation (the square root of the three channels' variances
// summed) are read. Shared by flat-backdrop detection and the key's ramp.

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zephrin {

class ColorSpread {
public:
    void add(const uchar* rgba)
    {
        ++m_count;
        for (int c = 0; c < 3; ++c) {
            const double v = rgba[c] / 255.0;
            m_sum[c] += v;
            m_squares[c] += v * v;
        }
    }

    std::int64_t count() const { return m_count; }
    // Channel 0, 1 or 2; 0 without pixels.
    double mean(int channel) const { return m_count > 0 ? m_sum[channel] / double(m_count) : 0.0; }
    double deviation() const
    {
        double variance = 0;
        for (int c = 0; c < 3; ++c)
            variance += std::max(m_count > 0 ? m_squares[c] / double(m_count) - mean(c) * mean(c) : 0.0, 0.0);
        return std::sqrt(variance);
    }

private:
    std::int64_t m_count = 0;
    double m_sum[3] = {0, 0, 0};
    double m_squares[3] = {0, 0, 0};
};

} // namespace zephrin
