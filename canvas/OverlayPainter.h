#pragma once
// The marks the canvas draws over the image for the pointer tools: the brush
// stroke being drawn, the pending selection (with its handles under the
// selection tools), an outline or shape being drawn, the crop box, the
// gradient line, the colour picker's cross and the brush cursor. Windowless:
// paintOverlay draws an OverlayInput with any QPainter, the canvas's painted
// item included. Model points are document pixels and go through the view
// mapping; marks are sized in view points, the brush follows the zoom.

#include "canvas/ViewGeometry.h"
#include "engine/edits/BrushTip.h"
#include "engine/edits/SelectionKind.h"
#include "engine/types/RGBAColor.h"
#include "model/editor/EditorEnums.h"

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

class QPainter;

namespace zephrin {

class EditorState;

// The theme's colours the overlay uses (the canvas item sets them from Theme).
struct OverlayColors {
    QColor accent{0x8B, 0x5C, 0xF6};
    QColor success{0x46, 0xC7, 0x83};
    QColor erase{226, 75, 74};
};

struct OverlayInput {
    CanvasTool tool = CanvasTool::view;  // the effective tool
    ViewMapping mapping;
    QSizeF size;                         // the overlay: the displayed image
    OverlayColors colors;
    std::vector<QPointF> liveStroke;
    RGBAColor paintColor;
    double paintOpacity = 100;
    double brushSize = 40;
    BrushTip brushTip = BrushTip::round;
    std::optional<std::vector<QPointF>> pendingSelection;
    SelectionKind pendingKind = SelectionKind::rectangle;
    SelectionKind selectionKind = SelectionKind::rectangle;
    std::optional<QPointF> hoverPoint;
    std::optional<QLineF> gradientLine;
    RGBAColor gradientStart;
    RGBAColor gradientEnd;
    std::optional<QRectF> cropDraft;

    // The editor's state as the overlay reads it.
    static OverlayInput from(const EditorState& editor, const ViewMapping& mapping, const OverlayColors& colors);
};

// Draws the overlay in the painter's coordinates, the displayed image's
// top-left at the origin. Nothing at all with the view tool.
void paintOverlay(QPainter& painter, const OverlayInput& input);

} // namespace zephrin
