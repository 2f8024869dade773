#pragma once
// One correction of the cutout by hand. The editor keeps them in an ordered
// list (undo and redo move along it) and replays the list with applyMaskEdits.
// Points are image space (origin top-left, y down), in source pixels.
//
// Equality compares every field, point lists element by element. Qt compares
// points with a relative tolerance of 1e-12, far below a pixel.

#include "engine/edits/BrushTip.h"
#include "engine/edits/SelectionKind.h"
#include "engine/types/RGBAColor.h"
#include "engine/types/SettingRange.h"

#include <QPointF>

#include <optional>
#include <variant>
#include <vector>

namespace zephrin {

// A brush stroke along the points: erases, or restores when `erase` is false.
struct MaskStroke {
    bool erase = true;
    BrushTip tip = BrushTip::round;
    double size = 0;      // brush diameter, pixels
    double hardness = 0;  // 0 to 1
    std::vector<QPointF> points;

    friend bool operator==(const MaskStroke&, const MaskStroke&) = default;
};

// Erases the inside of a selection (`inside` true) or everything outside it.
struct MaskShape {
    SelectionKind kind = SelectionKind::rectangle;
    std::vector<QPointF> points;
    bool inside = true;

    friend bool operator==(const MaskShape&, const MaskShape&) = default;
};

// Erases the source's pixels near one of `colors` (or, with `keep`, those near
// none of them), within the selection when one is given, else everywhere.
struct MaskColorKey {
    static constexpr SettingRange toleranceRange{0, 100, 1, 20};
    std::vector<RGBAColor> colors;         // alpha ignored
    double tolerance = toleranceRange.defaultValue;
    bool keep = false;
    std::optional<SelectionKind> shape;
    std::vector<QPointF> points;           // of the selection

    friend bool operator==(const MaskColorKey&, const MaskColorKey&) = default;
};

using MaskEditOp = std::variant<MaskStroke, MaskShape, MaskColorKey>;

} // namespace zephrin
