#pragma once
// The recipe of a generated backdrop: one to three colours and a few numbers,
// rendered on demand at any size (Backdrop::render). Alternatives in picker
// order; the seeds make every random layout repeatable.

#include "engine/types/RGBAColor.h"

#include <cstdint>
#include <variant>
#include <vector>

namespace zephrin {

// A soft radial studio sweep from a centre colour to an edge colour.
struct StudioStyle {
    RGBAColor center;
    RGBAColor edge;
    friend bool operator==(const StudioStyle&, const StudioStyle&) = default;
};

// A wall meeting a table top at a horizon.
struct TableStyle {
    RGBAColor wall;
    RGBAColor surface;
    friend bool operator==(const TableStyle&, const TableStyle&) = default;
};

// A two-colour gradient.
struct LinearStyle {
    RGBAColor top;
    RGBAColor bottom;
    friend bool operator==(const LinearStyle&, const LinearStyle&) = default;
};

// A dark or light base with 48 soft out-of-focus circles, coloured by `dots` in
// turn. With no dots there are no circles.
struct BokehStyle {
    RGBAColor base;
    std::vector<RGBAColor> dots;
    std::uint64_t seed = 0;
    friend bool operator==(const BokehStyle&, const BokehStyle&) = default;
};

// A flat base with cloudy mottling, film grain and optional woven fibres.
struct TextureStyle {
    RGBAColor base;
    double grain = 0;
    double mottle = 0;
    bool fibers = false;
    std::uint64_t seed = 0;
    friend bool operator==(const TextureStyle&, const TextureStyle&) = default;
};

// Marble: veins of `vein` over `base`.
struct MarbleStyle {
    RGBAColor base;
    RGBAColor vein;
    std::uint64_t seed = 0;
    friend bool operator==(const MarbleStyle&, const MarbleStyle&) = default;
};

using BackdropStyle = std::variant<StudioStyle, TableStyle, LinearStyle, BokehStyle, TextureStyle, MarbleStyle>;

} // namespace zephrin
