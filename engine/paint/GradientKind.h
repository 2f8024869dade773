#pragma once
// The two gradients of the paint tools.

#include "engine/types/RawEnum.h"
#include "engine/types/SettingRange.h"

namespace zephrin {

enum class GradientKind { linear, radial };

// The direction of a gradient the panel places, degrees clockwise from the
// right (image space is y down).
inline constexpr SettingRange kGradientAngleRange{0, 359, 1, 0};

constexpr RawValues<GradientKind, 2> rawValues(GradientKind)
{
    return {{
        {GradientKind::linear, u"Linear"},
        {GradientKind::radial, u"Radial"},
    }};
}

} // namespace zephrin
