#pragma once
// The shape the finished composite is cut to.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class ShapeCrop { none, circle, rounded };

constexpr RawValues<ShapeCrop, 3> rawValues(ShapeCrop)
{
    return {{
        {ShapeCrop::none, u"None"},
        {ShapeCrop::circle, u"Circle"},
        {ShapeCrop::rounded, u"Rounded"},
    }};
}

} // namespace zephrin
