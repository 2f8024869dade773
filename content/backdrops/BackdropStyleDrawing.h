#pragma once
// Draws one style's detail into the working bitmap and says what the
// post-processing (blur, grain, fibres) should do with it.

#include "content/backdrops/BackdropCanvas.h"
#include "content/backdrops/BackdropStyle.h"

#include <cstdint>

namespace zephrin {

struct BackdropFinish {
    double blurSigma = 0;     // Gaussian blur of the working bitmap, in its pixels
    double grain = 0.012;     // every style gets at least this faint grain
    bool fibers = false;
    std::uint64_t seed = 1;   // of the grain; non-texture styles all use 1
    friend bool operator==(const BackdropFinish&, const BackdropFinish&) = default;
};

BackdropFinish drawBackdropStyle(BackdropCanvas& canvas, const BackdropStyle& style);

// Cloudy mottling: every pixel's colour scaled by 1 + 2 (n − 0.5) × strength,
// n a 4-octave fBm of the seed's lattice at (6x / D, 6y / D), D the longer
// side. Rows from the top. Alpha becomes opaque.
void mottle(BackdropCanvas& canvas, double strength, std::uint64_t seed);

// Every pixel computed as marble: broad main veins with a faint halo and thin
// secondary veins of `vein` over a gently shaded `base`. Opaque.
void paintMarble(BackdropCanvas& canvas, const RGBAColor& base, const RGBAColor& vein,
                 std::uint64_t seed);

} // namespace zephrin
