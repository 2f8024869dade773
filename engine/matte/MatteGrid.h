#pragma once
// The reduced grids on which the matte pipeline makes its decisions, and the
// rendering of a matte onto one.

#include "engine/pixel/RenderContext.h"

namespace zephrin {

struct MatteGrid {
    cv::Size size;     // cells across and down, each at least 1
    double factor = 1; // cells per full-size pixel (before the cell counts are truncated)
};

// At most 511 cells on the long side: step = max(w, h, 256) / 256 (integer, so
// 1 up to 511 pixels); w / step cells across (1 when step > w), max(h / step, 1)
// down. `step` receives the step when given.
MatteGrid grid256(cv::Size size, int* step = nullptr);
// At most 1024 cells on the long side: s = 1024 / max(w, h) when that is
// above 1024, else 1; max(trunc(s × w), 1) by max(trunc(s × h), 1) cells.
MatteGrid grid1024(cv::Size size);

// The part `area` (image space) of a matte, rendered to 8-bit grey through the
// context (black outside the matte's extent) and averaged down to the grid's
// cells (every pixel counts, so thin parts are not skipped). CV_8UC1 of
// grid.size.
cv::Mat renderOnGrid(const RenderContext& context, const Matte& matte, cv::Rect area, const MatteGrid& grid);

} // namespace zephrin
