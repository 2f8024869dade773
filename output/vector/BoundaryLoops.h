#pragma once
// Crack-edge boundary tracing: a mask's outlines as closed polygons running
// along pixel sides.

#include "output/vector/TraceMask.h"
#include "output/vector/TraceResult.h"

#include <vector>

namespace zephrin::tracing {

// Every outline of the mask, outer outlines and holes alike, as the corners of
// its pixel staircase (points on the integer lattice of pixel corners; runs of
// collinear vertices are reduced to their ends). The inside always lies on the
// left of the walking direction as seen on screen (y down), so outer outlines
// run counter-clockwise on screen and holes clockwise.
//
// Order: loops start at lattice vertices in ascending order (row by row, left
// to right), so of two nested outlines the outer one comes first. Where two
// pixels touch only at a corner, the walk leaves that corner by the edge that
// was found first in a row-by-row scan of the pixels, which keeps the two
// pixels in separate loops.
//
// Cost: O(w * h) bytes scanned once to build the edge table, then O(E) for the
// walk, E being the number of boundary edges.
std::vector<std::vector<Pt>> boundaryLoops(const TraceMask& mask);

} // namespace zephrin::tracing
