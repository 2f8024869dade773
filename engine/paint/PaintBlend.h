#pragma once
// Which paint layer an operation paints into: `solid` is ordinary paint laid
// over the subject, `color` recolours it (hue and saturation from the paint,
// luminance from the subject).

#include "engine/types/RawEnum.h"
#include "engine/types/SettingRange.h"

namespace zephrin {

enum class PaintBlend { color, solid };

// The opacity of new paint, percent; a stroke never vanishes entirely.
inline constexpr SettingRange kPaintOpacityRange{5, 100, 1, 100};

constexpr RawValues<PaintBlend, 2> rawValues(PaintBlend)
{
    return {{
        {PaintBlend::color, u"Color"},
        {PaintBlend::solid, u"Solid"},
    }};
}

} // namespace zephrin
