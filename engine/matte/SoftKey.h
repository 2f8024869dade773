#pragma once
// One colour's soft key, pixel by pixel: the matte byte of an RGBA pixel (see
// SoftColorKey.h for the ramp), and whether the pixel is backdrop, which needs
// no square root. Three table reads a pixel; the comparisons are made on
// squared distances, with thresholds chosen so that they decide exactly as the
// distances would.
// The backdrop may be decided by a ramp of its own: a ramp moved to the
// backdrop's measured grain gives the values, while what counts as backdrop
// stays where the tolerance puts it, so that a pale subject past the
// tolerance is never taken for backdrop however grainy the paper.

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
    // Bytes on `ramp`; backdrop where `decides` gives a byte below kBackdropBelow.
    SoftKey(RGBAColor key, KeyRamp ramp, KeyRamp decides);

    double squaredDistance(const uchar* rgba) const
    {
        return m_squares[0][rgba[0]] + m_squares[1][rgba[1]] + m_squares[2][rgba[2]];
    }

    uchar byte(const uchar* rgba) const { return m_ramp.byteAt(squaredDistance(rgba)); }

    // The byte of the deciding ramp is below kBackdropBelow.
    bool isBackdrop(const uchar* rgba) const { return squaredDistance(rgba) < m_backdropSquared; }

private:
    // The thresholds of one ramp, on squared distances.
    struct Ramp {
        explicit Ramp(KeyRamp ramp);

        uchar byteAt(double squared) const
        {
            if (squared <= lowSquared)
                return 0;
            if (squared >= highSquared)
                return 255;
            // Above 0 here; rounding half up by hand spares a library call
            // (std::round is one without SSE4.1).
            const double scaled = std::clamp((std::sqrt(squared) - low) / width * 255, 0.0, 255.0);
            const int whole = static_cast<int>(scaled);
            return static_cast<uchar>(whole + (scaled - whole >= 0.5));
        }

        // The least squared distance whose byte is not backdrop.
        double backdropSquared() const;

        double low, width, lowSquared, highSquared;
    };

    Ramp m_ramp;
    double m_backdropSquared; // the least squared distance whose byte is not backdrop
    std::array<std::array<double, 256>, 3> m_squares; // (v / 255 − key)² per channel
};

// The key of a picture's backdrop: bytes on the ramp moved to the backdrop's
// measured grain (backdropRamp), backdrop decided by the tolerance's own ramp.
SoftKey backdropKey(const cv::Mat& rgba, RGBAColor key, double tolerance);

} // namespace zephrin
