#pragma once
// The reduced grids on which the matte pipeline makes its decisions, and the
// rendering of a matte onto one.

#include "engine/pixel/RenderContext.h"

namespace zephrin {

struct MatteGrid {
    cv::Size size;     // cells across and down, each at least 1
    double factor = 1; // cells per full-size pixel (before the cell counts are truncated)
};

// One cell per whole step of pixels, fewer than 2 × `cells` on the long side:
// step = max(w, h, cells) / cells (integer); w / step cells across (1 when
// step > w), max(h / step, 1) down. `step` receives the step when given.
MatteGrid steppedGrid(cv::Size size, int cells, int* step = nullptr);
// At most `longSide` cells on the long side: s = min(longSide / max(w, h), 1);
// max(trunc(s × w), 1) by max(trunc(s × h), 1) cells.
MatteGrid fittedGrid(cv::Size size, int longSide);

// Pixels scaled to `cells` with the given cv::resize interpolation (the pixels
// themselves, not a copy, when they are that size already).
cv::Mat scaledToGrid(const cv::Mat& pixels, cv::Size cells, int interpolation);

// The part `area` (image space) of a matte, rendered to 8-bit grey through the
// context (black outside the matte's extent) and averaged down to the grid's
// cells (every pixel counts, so thin parts are not skipped). CV_8UC1 of
// grid.size.
cv::Mat renderOnGrid(const RenderContext& context, const Matte& matte, cv::Rect area, const MatteGrid& grid);

} // namespace zephrin
