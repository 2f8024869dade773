#pragma once
// The shapes a selection can take. Rectangle and ellipse are dragged out and
// defined by the first and last point of their list; lasso and polygon ("Outline")
// are point lists. The raw values are the picker labels and the stored form.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class SelectionKind { rectangle, ellipse, lasso, polygon };

constexpr RawValues<SelectionKind, 4> rawValues(SelectionKind)
{
    return {{
        {SelectionKind::rectangle, u"Rectangle"},
        {SelectionKind::ellipse, u"Ellipse"},
        {SelectionKind::lasso, u"Lasso"},
        {SelectionKind::polygon, u"Outline"},
    }};
}

// True for the point-list kinds (lasso and polygon), false for the drag kinds.
constexpr bool usesPoints(SelectionKind kind)
{
    return kind == SelectionKind::lasso || kind == SelectionKind::polygon;
}

} // namespace zephrin
