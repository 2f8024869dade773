#pragma once
// The output aspect the compositor pads or crops the result to.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class AspectPreset { original, square, fourThree, portrait, landscape, wide, story };

constexpr RawValues<AspectPreset, 7> rawValues(AspectPreset)
{
    return {{
        {AspectPreset::original, u"Original"},
        {AspectPreset::square, u"1:1"},
        {AspectPreset::fourThree, u"4:3"},
        {AspectPreset::portrait, u"4:5"},
        {AspectPreset::landscape, u"3:2"},
        {AspectPreset::wide, u"16:9"},
        {AspectPreset::story, u"9:16"},
    }};
}

} // namespace zephrin
