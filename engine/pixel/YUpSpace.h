#pragma once
// The one conversion between y-up drawing spaces and image space.
//
// The engine's drawing is designed in y-up spaces: label shapes, text layout and
// glyph space, and the bitmap space text layers are placed in (origin at the
// bottom-left corner). Our painters and buffers are y down. Drawing code sets
// this transform once as the base of its painter and then follows the y-up
// formulas as they are; nothing else flips a y coordinate.

#include <QPointF>
#include <QTransform>

namespace zephrin {

// Maps a y-up space whose origin lies at the bottom-left corner of a canvas
// `height` pixels tall into image space: (x, y) ↦ (x, height − y). It is its own
// inverse, so with height 0 it also brings Qt's y-down glyph outlines into y-up
// glyph space.
inline QTransform yUpToImage(double height) { return QTransform(1, 0, 0, -1, 0, height); }

// An offset given in a y-up space (a shadow's), as an image-space offset.
inline QPointF yUpOffsetToImage(QPointF offset) { return yUpToImage(0).map(offset); }

} // namespace zephrin
