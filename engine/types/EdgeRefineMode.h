#pragma once
// How the refinement treats the matte's edge; the refinement decides what each
// case does.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class EdgeRefineMode { smooth, detail, contrast };

constexpr RawValues<EdgeRefineMode, 3> rawValues(EdgeRefineMode)
{
    return {{
        {EdgeRefineMode::smooth, u"smooth"},
        {EdgeRefineMode::detail, u"detail"},
        {EdgeRefineMode::contrast, u"contrast"},
    }};
}

} // namespace zephrin
