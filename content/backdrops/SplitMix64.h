#pragma once
// SplitMix64, the random source of every generated backdrop: small, fast and
// fully repeatable, so one seed always gives one layout.

#include <cstdint>

namespace zephrin {

class SplitMix64 {
public:
    static constexpr std::uint64_t gamma = 0x9E3779B97F4A7C15ull;

    // The state starts at seed × γ, so the first draw mixes (seed + 1) × γ.
    explicit constexpr SplitMix64(std::uint64_t seed) : m_state(seed * gamma) {}

    // The next 64 random bits.
    constexpr std::uint64_t nextBits()
    {
        m_state += gamma;
        return mix(m_state);
    }

    // The next draw, uniform in [0, 1): the top 53 bits as a fraction.
    constexpr double next() { return static_cast<double>(nextBits() >> 11) * 0x1.0p-53; }

    // SplitMix64's finaliser: a bijection of 64-bit words that scatters every
    // input bit over the whole output.
    static constexpr std::uint64_t mix(std::uint64_t z)
    {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

private:
    std::uint64_t m_state;
};

} // namespace zephrin
