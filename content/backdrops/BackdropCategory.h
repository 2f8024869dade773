#pragma once
// The five groups of the backdrop picker. A category only groups presets; the
// style alone decides how a backdrop renders.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class BackdropCategory { studio, table, gradient, bokeh, texture };

constexpr RawValues<BackdropCategory, 5> rawValues(BackdropCategory)
{
    return {{
        {BackdropCategory::studio, u"Studio"},
        {BackdropCategory::table, u"Table"},
        {BackdropCategory::gradient, u"Gradient"},
        {BackdropCategory::bokeh, u"Bokeh"},
        {BackdropCategory::texture, u"Texture"},
    }};
}

} // namespace zephrin
