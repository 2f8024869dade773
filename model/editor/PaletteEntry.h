#pragma once
// One colour found inside a selection (or the whole image), for the colour key.

#include "engine/types/RGBAColor.h"

#include <QUuid>

namespace zephrin {

struct PaletteEntry {
    QUuid id;            // new for every entry
    RGBAColor color;
    double share = 0;    // of the sampled pixels, 0 to 1

    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

} // namespace zephrin
