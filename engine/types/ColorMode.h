#pragma once
// Recolouring of the subject: a flat fill or a tint that keeps its shading.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class ColorMode { none, fill, tint };

constexpr RawValues<ColorMode, 3> rawValues(ColorMode)
{
    return {{
        {ColorMode::none, u"None"},
        {ColorMode::fill, u"Fill"},
        {ColorMode::tint, u"Tint"},
    }};
}

} // namespace zephrin
