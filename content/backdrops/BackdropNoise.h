#pragma once
// Value noise for the procedural textures: a 256 × 256 lattice of seeded random
// values, smoothly interpolated, summed over octaves (fBm) for clouds and veins.

#include <cstdint>
#include <vector>

namespace zephrin {

class BackdropNoise {
public:
    static constexpr int latticeSide = 256;

    // 65536 draws of SplitMix64(seed) in order, read as a row-major grid: entry
    // (i, j) at index j × 256 + i.
    static std::vector<double> lattice(std::uint64_t seed);

    explicit BackdropNoise(std::uint64_t seed) : m_lattice(lattice(seed)) {}

    // Smoothstep-interpolated value noise; the lattice repeats every 256 units.
    // Range [0, 1).
    double value(double x, double y) const;

    // `octaves` layers of value noise, each 2.03 times finer and half as strong
    // as the one before, divided by the sum of the weights. Range [0, 1).
    double fbm(double x, double y, int octaves) const;

private:
    double at(int i, int j) const { return m_lattice[(j & 255) * latticeSide + (i & 255)]; }

    std::vector<double> m_lattice;  // 65536 entries
};

} // namespace zephrin
