#pragma once
// One colour's soft key, pixel by pixel: the matte byte of an RGBA pixel (see
// SoftColorKey.h for the ramp), and whether the pixel is backdrop, which needs
// no square root. Three table reads a pixel; the comparisons are made on
// squared distances, with thresholds chosen so that they decide exactly as the
// distances would.

#include "engine/types/RGBAColor.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace zephrin {

struct KeyRamp;

// The key with every channel that is not finite set to 0.
RGBAColor finiteKey(RGBAColor key);

class SoftKey {
public:
    // A key channel that is not finite counts as 0.
    SoftKey(RGBAColor key, KeyRamp ramp);

    double squaredDistance(const uchar* rgba) const
    {
        return m_squares[0][rgba[0]] + m_squares[1][rgba[1]] + m_squares[2][rgba[2]];
    }

    uchar byte(const uchar* rgba) const { return byteAt(squaredDistance(rgba)); }

    // The byte is below kBackdropBelow.
    bool isBackdrop(const uchar* rgba) const { return squaredDistance(rgba) < m_backdropSquared; }

private:
    uchar byteAt(double squared) const
    {
        if (squared <= m_lowSquared)
            return 0;
        if (squared >= m_highSquared)
            return 255;
        // Above 0 here; rounding half up by hand spares a library call
        // (std::round is one without SSE4.1).
        const double scaled = std::clamp((std::sqrt(squared) - m_low) / m_width * 255, 0.0, 255.0);
        const int whole = static_cast<int>(scaled);
        return static_cast<uchar>(whole + (scaled - whole >= 0.5));
    }

    double m_low, m_width, m_lowSquared, m_highSquared;
    double m_backdropSquared; // the least squared distance whose byte is not backdrop
    std::array<std::array<double, 256>, 3> m_squares; // (v / 255 − key)² per channel
};

} // namespace zephrin
