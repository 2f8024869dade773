#include "engine/matte/SoftKey.h"

#include "engine/matte/SoftColorKey.h"

#include <bit>
#include <cstdint>

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

RGBAColor finiteKey(RGBAColor key)
{
    for (double* channel : {&key.r, &key.g, &key.b})
        if (!std::isfinite(*channel))
            *channel = 0;
    return key;
}

SoftKey::Ramp::Ramp(KeyRamp ramp)
    : low(ramp.low), width(ramp.width), lowSquared(largestSquareAtMost(ramp.low)),
      highSquared(smallestSquareAtLeast(ramp.high()))
{}

double SoftKey::Ramp::backdropSquared() const
{
    // The byte only grows with the distance, so one threshold splits backdrop
    // from the rest. Non-negative doubles order as their bit patterns do: the
    // threshold is found by halving the patterns between 0 (byte 0) and the
    // ramp's end (byte 255).
    std::uint64_t below = 0, atLeast = std::bit_cast<std::uint64_t>(highSquared);
    while (atLeast - below > 1) {
        const std::uint64_t middle = below + (atLeast - below) / 2;
        (byteAt(std::bit_cast<double>(middle)) < kBackdropBelow ? below : atLeast) = middle;
    }
    return std::bit_cast<double>(atLeast);
}

SoftKey::SoftKey(RGBAColor key, KeyRamp ramp) : SoftKey(key, ramp, ramp) {}

SoftKey::SoftKey(RGBAColor key, KeyRamp ramp, KeyRamp decides)
    : m_ramp(ramp), m_backdropSquared(Ramp(decides).backdropSquared())
{
    key = finiteKey(key);
    const double channels[3] = {key.r, key.g, key.b};
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v) {
            const double delta = v / 255.0 - channels[c];
            m_squares[c][v] = delta * delta;
        }
}

} // namespace zephrin
