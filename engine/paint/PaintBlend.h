#pragma once
// Which paint layer an operation paints into: `solid` is ordinary paint laid
// over the subject, `color` recolours it (hue and saturation from the paint,
// luminance from the subject).

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class PaintBlend { color, solid };

constexpr RawValues<PaintBlend, 2> rawValues(PaintBlend)
{
    return {{
        {PaintBlend::color, u"Color"},
        {PaintBlend::solid, u"Solid"},
    }};
}

} // namespace zephrin
