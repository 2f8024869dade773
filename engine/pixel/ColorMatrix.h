#pragma once
// A colour matrix: each output component is a weighted sum of the input's
// r, g, b, a plus a bias.
//
// Image: CV_8UC4 premultiplied in and out; works on straight colour (converted in
// floating point inside):
//   r' = R·(r, g, b, a) + bias.r,  g' = G·(…) + bias.g,  b' = B·(…) + bias.b,
//   a' = A·(…) + bias.a,
// all on 0 to 1, clamped to 0 to 1, premultiplied by a' again. The default
// matrix is the identity. A transparent pixel enters as (0, 0, 0, 0), so a bias
// on alpha makes it opaque (that is how an alpha becomes an opaque grey image).
// The extent and origin stay; outside the extent nothing is produced.
// Matte: the matte is read as the opaque grey image (v, v, v, 1) and the result's
// grey is the red output: v' = (R0 + R1 + R2)·v + R3 + bias.r.
// Cost: one parallel pass (a 256-entry table for mattes).

#include "engine/pixel/Image.h"

#include <array>

namespace zephrin {

struct ColorMatrix {
    std::array<double, 4> r{1, 0, 0, 0};
    std::array<double, 4> g{0, 1, 0, 0};
    std::array<double, 4> b{0, 0, 1, 0};
    std::array<double, 4> a{0, 0, 0, 1};
    std::array<double, 4> bias{0, 0, 0, 0};

    friend bool operator==(const ColorMatrix&, const ColorMatrix&) = default;
};

Image colorMatrix(const Image& image, const ColorMatrix& matrix);
Matte colorMatrix(const Matte& matte, const ColorMatrix& matrix);

} // namespace zephrin
