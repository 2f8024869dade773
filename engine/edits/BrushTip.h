#pragma once
// The tip of the erase and restore brushes. The raw values are the picker
// labels and the stored form.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class BrushTip { round, square };

constexpr RawValues<BrushTip, 2> rawValues(BrushTip)
{
    return {{
        {BrushTip::round, u"Round"},
        {BrushTip::square, u"Square"},
    }};
}

} // namespace zephrin
