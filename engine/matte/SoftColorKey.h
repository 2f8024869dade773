#pragma once
// Keying one colour into a soft matte.
//
// In: RGBA bytes (CV_8UC4), colour used as stored (premultiplied, so transparent
// pixels count as black). Out: a CV_8UC1 matte at the input's size, 0 on the key
// colour, 255 far from it, a linear ramp between.
// With d the Euclidean distance of the pixel's (r, g, b) / 255 to the key (0 to 1
// scale), t = tolerance / 100 × 0.58 + 0.02 and soft = 0.35 × t, the ramp of a
// tolerance runs from low = t − soft to high = t + soft: a = 0 up to low, 1 from
// high, (d − low) / (high − low) between (that is, / (2 × soft)); the byte is a × 255 rounded half away
// from zero. At tolerance 25: t = 0.165, fully keyed below 0.10725, untouched
// from 0.22275.
// A pixel is backdrop when a is below one half, which is exactly when its byte
// is below kBackdropBelow (a = 0.5 gives 127.5, rounded to 128).
// The tolerance is clamped to 0 to 100 (NaN counts as 0); a key channel that is
// not finite counts as 0.
// Cost: one parallel pass; per pixel three table reads and a comparison of
// squared distances (thresholds converted so that the comparison is exact), a
// square root only on the ramp. About 2 ns a pixel on one core.

#include "engine/types/RGBAColor.h"

#include <opencv2/core.hpp>

namespace zephrin {

inline constexpr uchar kBackdropBelow = 128;

// Where the key's ramp begins (fully keyed up to `low`) and how far it runs
// (untouched from low + width).
struct KeyRamp {
    double low = 0;
    double width = 0;

    double high() const { return low + width; }

    // The ramp of a tolerance, as above.
    static KeyRamp forTolerance(double tolerance);
};

// The ramp of a tolerance, moved to where the backdrop itself ends. Paper,
// walls and sweeps are never one colour: texture and uneven light spread them
// around the key, and the part of that spread that falls on the ramp would
// come out half transparent although it is well within the tolerance. So the
// ramp begins past the backdrop's measured spread: the distance of its mean
// colour from the key plus 3.5 times its deviation, which covers all but
// about one in two thousand pixels of a grainy backdrop.
// The backdrop measured is the band the ramp keys whole (d up to its
// beginning) where it reaches the image border; when the spread reaches
// further, the band widens to it and is measured again until the beginning
// settles (at most 8 rounds). Only what the backdrop itself reaches moves the
// ramp: a pale subject at the tolerance's edge has grainy pixels within the
// tolerance too, but they lie past the band, apart from the border. Paper so
// grainy that little of it lies within the tolerance's own beginning leaves
// only specks there that do not reach the border: then the band within t
// itself is measured, once (it is the widest there is).
// The beginning never moves below the tolerance's own nor past t, and the
// end stays, so edges between backdrop and subject keep a ramp at least soft
// wide. A backdrop of under 1% of the pixels (or 64) is no backdrop to
// measure: the tolerance's own ramp. The spread is measured on at most about
// 250,000 evenly spaced pixels, connected on their own grid; each round is
// one flood over them.
// The moved ramp gives values only: what is backdrop, for the border flood
// and every "below one half" test, stays where the tolerance's own ramp puts
// it (backdropKey in SoftKey.h), since the moved ramp's middle lies past the
// tolerance and would take in a pale subject just beyond it.
KeyRamp backdropRamp(const cv::Mat& rgba, RGBAColor key, double tolerance);

cv::Mat softColorKey(const cv::Mat& rgba, RGBAColor key, double tolerance);
cv::Mat softColorKey(const cv::Mat& rgba, RGBAColor key, KeyRamp ramp);

} // namespace zephrin
