#pragma once
// The arithmetic of the text handles on the canvas, without a window: where a
// layer's centre may go so its box stays inside the image, how big its handle
// box is drawn, how far a move drag displaces it, what a resize drag makes of
// a label's size, and which keys act on the selected layer.
//
// Units: positions are fractions of the image (x across, y down from the top),
// label sizes fractions of the image height, boxes in image pixels, drags in
// view points. `imageSize` is the pixel size of the shown image and `frame`
// its displayed size in points; a side under 1 pixel counts as 1.

#include <QPointF>
#include <QSizeF>

#include <Qt>

namespace zephrin::texthandles {

// Labels never get smaller or larger than this, as a fraction of the image height.
inline constexpr double kMinLabelSide = 0.04;
inline constexpr double kMaxLabelSide = 3.0;

// The centre nearest to (x, y) that keeps a box of `box` pixels inside the
// image; 0.5 in a dimension where the box is at least as large as the image.
// A coordinate that is not a number takes the smallest allowed value.
QPointF clampedCenter(QSizeF box, double x, double y, QSizeF imageSize);

// The handle's clickable box in points: the layer's box at `scale` points per
// pixel with a margin, never smaller than 24 × 18.
QSizeF handleBoxSize(QSizeF box, double scale);

// Points per image pixel of the shown image.
double viewScale(QSizeF frame, QSizeF imageSize);

// The centre a move drag of `translation` points takes the layer at
// (x, y) to, clamped inside the image.
QPointF movedCenter(QSizeF box, QPointF position, QPointF translation, QSizeF frame, QSizeF imageSize);

// The displacement in points of the box and sprite during that drag.
QSizeF moveOffset(QSizeF box, QPointF position, QPointF translation, QSizeF frame, QSizeF imageSize);

// A label's new (shapeW, shapeH) when its corner is dragged by `translation`
// points from a drag that began at `start`: the box grows about its fixed
// centre. With `keepProportion` both sides scale by the larger of the two
// ratios (a side that started at zero counts as the minimum). Each side is
// then kept within kMinLabelSide…kMaxLabelSide.
QSizeF resizedLabel(QSizeF start, QPointF translation, QSizeF frame, QSizeF imageSize, bool keepProportion);

// What a key press does to the selected layer.
enum class KeyAction { pass, deselect, remove, nudge };
struct KeyDecision {
    KeyAction action = KeyAction::pass;
    QPointF step;   // image pixels, for nudge
};

// Keys pass while a text field is being edited, while another tool is chosen
// and while no layer is selected; otherwise Escape deselects, Backspace and
// Delete remove, and the arrows nudge by 1 pixel (10 with Shift).
KeyDecision decideKey(int key, Qt::KeyboardModifiers modifiers, bool editingText, bool textTool,
                      bool hasSelection);

// The centre after nudging the layer at (x, y) by `step` pixels, clamped.
QPointF nudgedCenter(QSizeF box, QPointF position, QPointF step, QSizeF imageSize);

} // namespace zephrin::texthandles
