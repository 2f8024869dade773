#pragma once
// Where a copy of a sticker may be pinned by hand, in page coordinates
// (inches from the paper's top-left corner, y down). Pure functions, so the
// editor's pin operation and its tests share them.

#include "output/sheet/SheetLayout.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace zephrin::sheetpins {

// The extra gap, beyond the sheet spacing, that two copies must keep.
constexpr double kSpacingSlack = 0.0001;

// The wanted top-left corner pulled into the printable area so that a copy of
// `size` stays inside it. A copy wider (taller) than the area keeps the area's
// left (top) edge.
QPointF clampedCorner(QPointF wanted, QSizeF size, const QRectF& area);

// Whether a copy at `wanted` with `size` may be pinned at all: the corner is a
// finite point and the copy would touch the paper. A copy dropped wholly off
// the paper is refused rather than pulled back from afar.
bool acceptableDrop(QPointF wanted, QSizeF size, QSizeF paper);

// Whether two copies overlap; copies that only touch do not.
bool overlapping(const QRectF& a, const QRectF& b);

// Whether two copies keep at least `spacing` (plus the slack) apart along x
// or along y.
bool farEnoughApart(const QRectF& a, const QRectF& b, double spacing);

// Every pin moved by `offset` (the printable area's origin moved with it).
SheetPins shiftedPins(const SheetPins& pins, QPointF offset);

// The pins that hold every copy of `layout` where it is, with the copy of
// `key` at `corner`; pins already set stay as they are.
SheetPins frozenPins(const SheetLayout& layout, const SheetPins& pins, const QString& key, QPointF corner);

} // namespace zephrin::sheetpins
