#pragma once
// The tip of the erase and restore brushes. The raw values are the picker
// labels and the stored form.

#include "engine/types/RawEnum.h"
#include "engine/types/SettingRange.h"

namespace zephrin {

enum class BrushTip { round, square };

// The brush controls' size (diameter, image pixels) and hardness (0 soft to 1
// hard). Strokes take any value: a dab is at least one pixel across and is
// confined to the mask it marks.
inline constexpr SettingRange kBrushSizeRange{2, 400, 1, 40};
inline constexpr SettingRange kBrushHardnessRange{0, 1, 0.05, 0.8};

constexpr RawValues<BrushTip, 2> rawValues(BrushTip)
{
    return {{
        {BrushTip::round, u"Round"},
        {BrushTip::square, u"Square"},
    }};
}

} // namespace zephrin
