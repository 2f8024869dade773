#include "content/backdrops/BackdropNoise.h"

#include "content/backdrops/SplitMix64.h"

#include <cmath>

namespace zephrin {

std::vector<double> BackdropNoise::lattice(std::uint64_t seed)
{
    SplitMix64 random(seed);
    std::vector<double> values(latticeSide * latticeSide);
    for (double& value : values)
        value = random.next();
    return values;
}

double BackdropNoise::value(double x, double y) const
{
    const double fi = std::floor(x);
    const double fj = std::floor(y);
    const double fx = x - fi;
    const double fy = y - fj;
    // Only the low 8 bits of the cell index matter, so the cast need only keep them.
    const int i = static_cast<int>(static_cast<long long>(fi) & 255);
    const int j = static_cast<int>(static_cast<long long>(fj) & 255);
    const double a = at(i, j);
    const double b = at(i + 1, j);
    const double c = at(i, j + 1);
    const double d = at(i + 1, j + 1);
    const double u = fx * fx * (3 - 2 * fx);
    const double v = fy * fy * (3 - 2 * fy);
    return a + u * (b - a) + v * (c - a) + u * v * (a - b - c + d);
}

double BackdropNoise::fbm(double x, double y, int octaves) const
{
    double sum = 0;
    double weights = 0;
    double scale = 1;
    double weight = 0.5;
    for (int k = 0; k < octaves; ++k) {
        sum += value(x * scale, y * scale) * weight;
        weights += weight;
        scale *= 2.03;
        weight *= 0.5;
    }
    return weights > 0 ? sum / weights : 0;
}

} // namespace zephrin
