#pragma once
// A design's cell on the sheet: the printed image plus border and bleed on
// every side, in inches. The layout packs cells; the render draws a design's
// tile into each of its cells.

#include "output/sheet/SheetSettings.h"
#include "output/sheet/StickerItem.h"

#include <QRectF>
#include <QSizeF>

namespace zephrin {

// Inches by which the layout lets a cell exceed the room it is tested against,
// so that sizes that fit exactly on paper still fit after floating-point sums.
inline constexpr double kLayoutTolerance = 1e-9;

// widthInches and heightInches() each plus 2 × (border + bleed). Not a
// positive size for a design without one (StickerItem::hasPrintableSize).
QSizeF stickerCell(const StickerItem& item, const SheetSettings& settings);

// Whether a cell could go on the printable area at all: a positive size no
// larger than the area (within 1e-9, the layout's tolerance).
bool fitsPrintableArea(QSizeF cell, const QRectF& area);

} // namespace zephrin
