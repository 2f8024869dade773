#pragma once
// What the vectorizer traces: decided from the picture (auto), the whole visible
// subject (shape), or only the dark strokes of a drawing or print (ink).

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class TraceSource { autoDetect, shape, ink };

constexpr RawValues<TraceSource, 3> rawValues(TraceSource)
{
    return {{
        {TraceSource::autoDetect, u"Auto"},
        {TraceSource::shape, u"Shape"},
        {TraceSource::ink, u"Ink"},
    }};
}

} // namespace zephrin
