#pragma once
// The two gradients of the paint tools.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class GradientKind { linear, radial };

constexpr RawValues<GradientKind, 2> rawValues(GradientKind)
{
    return {{
        {GradientKind::linear, u"Linear"},
        {GradientKind::radial, u"Radial"},
    }};
}

} // namespace zephrin
