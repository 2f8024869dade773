#pragma once
// The geometry of selection shapes, shared by the canvas, the mask edits, the
// paint layers and the selection palette. Every point is in pixels of the source
// image, image space (origin top-left, y down).

#include "engine/edits/SelectionKind.h"

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zephrin {

// The outline of a selection:
//   lasso, polygon     — 3 or more points: the closed polygon through them in order;
//   rectangle, ellipse — 2 or more points: the rectangle spanned by the first and
//                        the last point (points between are ignored), or the
//                        ellipse inscribed in it.
// Fewer points give no path.
std::optional<QPainterPath> selectionPath(SelectionKind kind, const std::vector<QPointF>& points);

// The pixels a path covers, as width × height bytes (row-major, top row first):
// 1 where the pixel's centre lies inside the path under the non-zero winding
// rule, 0 elsewhere. Filled without antialiasing, so a self-intersecting lasso
// covers every region it winds around, and "outside" is exactly the complement.
// A non-positive size gives an empty list.
std::vector<std::uint8_t> rasterizeMask(const QPainterPath& path, int width, int height);

// The box of a selection: the zero rectangle without points; for lasso and
// polygon, or a single point, the smallest rectangle holding every point; for
// rectangle and ellipse, the rectangle spanned by the first and the last point.
QRectF boundingRect(SelectionKind kind, const std::vector<QPointF>& points);

// The eight resize handles of a rectangle, clockwise from the top-left corner:
// top-left, top-middle, top-right, right-middle, bottom-right, bottom-middle,
// bottom-left, left-middle.
std::array<QPointF, 8> handlePoints(const QRectF& rect);

// Every point moved by the offset, in order.
std::vector<QPointF> offsetPoints(const std::vector<QPointF>& points, QPointF offset);

} // namespace zephrin
