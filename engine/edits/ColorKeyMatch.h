#pragma once
// How closely a colour matches a colour key, 0 to 1.
//
// With t = (tolerance / 100) × 0.58 + 0.02 and softness σ = 0.35 t, a colour at
// Euclidean RGB distance d (components 0 to 1) from the nearest key colour
// matches fully up to t − σ, not at all from t + σ on, and linearly between.
// At tolerance 20: full match within about 0.0884, none beyond about 0.1836.

namespace zephrin {

struct ColorKeyMatch {
    double full;   // t − σ
    double none;   // t + σ

    // Tolerance is clamped to 0 … 100.
    static ColorKeyMatch forTolerance(double tolerance);

    double at(double distance) const;
};

} // namespace zephrin
