#pragma once
// The two forms of the user's own two-colour backdrop (see Backdrop::custom).

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class CustomBackdropShape { fade, spotlight };

constexpr RawValues<CustomBackdropShape, 2> rawValues(CustomBackdropShape)
{
    return {{
        {CustomBackdropShape::fade, u"Fade"},
        {CustomBackdropShape::spotlight, u"Spotlight"},
    }};
}

} // namespace zephrin
