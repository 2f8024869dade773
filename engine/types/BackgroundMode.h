#pragma once
// What lies behind the subject in the composite.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class BackgroundMode { transparent, color, original, image };

constexpr RawValues<BackgroundMode, 4> rawValues(BackgroundMode)
{
    return {{
        {BackgroundMode::transparent, u"Transparent"},
        {BackgroundMode::color, u"Color"},
        {BackgroundMode::original, u"Original"},
        {BackgroundMode::image, u"Image"},
    }};
}

} // namespace zephrin
