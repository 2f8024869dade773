#pragma once
// One finished paint gesture. The editor keeps them in painting order (first =
// bottom) and re-renders the active ones with PaintLayers::render.
// Points are image space (origin top-left, y down), in source pixels. A
// selection (`shape` with its `shapePoints`) confines the paint; none, or one
// that forms no path, leaves it unconfined.
//
// Equality compares every field, point lists element by element. Qt compares
// points with a relative tolerance of 1e-12, far below a pixel.

#include "engine/edits/BrushTip.h"
#include "engine/edits/SelectionKind.h"
#include "engine/paint/GradientKind.h"
#include "engine/paint/PaintBlend.h"
#include "engine/types/RGBAColor.h"

#include <QPointF>

#include <optional>
#include <variant>
#include <vector>

namespace zephrin {

// A brush stroke in one colour: overlapping dabs merge, and the stroke as a
// whole is laid down at `opacity`.
struct PaintStroke {
    RGBAColor color;
    PaintBlend blend = PaintBlend::solid;
    double opacity = 1;    // 0 to 1
    BrushTip tip = BrushTip::round;
    double size = 0;       // brush diameter, pixels
    double hardness = 0;   // 0 to 1
    std::vector<QPointF> points;
    std::optional<SelectionKind> shape;
    std::vector<QPointF> shapePoints;

    friend bool operator==(const PaintStroke&, const PaintStroke&) = default;
};

// A gradient from `start` to `end` colour. Linear: along from → to, the end
// colours continuing beyond both ends. Radial: about `from` out to the distance
// of `to` (at least 1 pixel), the end colour continuing beyond.
struct PaintGradient {
    GradientKind kind = GradientKind::linear;
    QPointF from;
    QPointF to;
    RGBAColor start;
    RGBAColor end;
    PaintBlend blend = PaintBlend::solid;
    double opacity = 1;    // 0 to 1
    std::optional<SelectionKind> shape;
    std::vector<QPointF> shapePoints;

    friend bool operator==(const PaintGradient&, const PaintGradient&) = default;
};

using PaintOp = std::variant<PaintStroke, PaintGradient>;

} // namespace zephrin
