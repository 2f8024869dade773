#include "output/vector/BoundaryLoops.h"

#include "output/vector/PointMath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace zephrin::tracing {

namespace {

// ---------------------------------------------------------------------------
// The edge table
//
// Vertices are the pixel corners of a (w + 1) x (h + 1) lattice, numbered
// v = y * (w + 1) + x. Every side between an inside pixel and an outside one (or
// the bitmap's border) is a directed edge with the inside on its left:
//
//     top side of pixel (x, y):    (x + 1, y)     -> (x, y)          west
//     right side:                  (x + 1, y + 1) -> (x + 1, y)      north
//     bottom side:                 (x, y + 1)     -> (x + 1, y + 1)  east
//     left side:                   (x, y)         -> (x, y + 1)      south
//
// The four pixels round vertex (X, Y) are a = (X-1, Y-1), b = (X, Y-1),
// c = (X-1, Y) and d = (X, Y). Each can give the vertex at most one outgoing
// edge: north when a is in and b out, east when b is in and d out, west when c
// is in and a out, south when d is in and c out. A scan of the pixels row by
// row, left to right, meets a, b, c, d in that order, so the edges of one vertex
// are inserted north, east, west, south: numbering the direction bits in that
// order makes "the edge inserted first" the lowest set bit.
//
// The table is therefore one byte per vertex holding its remaining outgoing
// directions. A vertex has two of them only where two inside pixels touch at
// that corner alone (a and d, or b and c).
// ---------------------------------------------------------------------------

enum Direction : std::uint8_t { north = 1, east = 2, west = 4, south = 8 };

struct EdgeTable {
    std::int64_t stride = 0;                // w + 1, vertices per lattice row
    std::vector<std::uint8_t> remaining;    // (w + 1) * (h + 1) direction sets
    std::vector<std::int64_t> withEdges;    // every vertex that has an edge, ascending

    // Removes the vertex's first remaining edge and returns where it leads.
    std::int64_t takeEdge(std::int64_t v)
    {
        const std::uint8_t set = remaining[static_cast<std::size_t>(v)];
        const std::uint8_t first = set & static_cast<std::uint8_t>(-set);
        remaining[static_cast<std::size_t>(v)] = set ^ first;
        switch (first) {
        case north: return v - stride;
        case east: return v + 1;
        case west: return v - 1;
        default: return v + stride;
        }
    }
    bool hasEdge(std::int64_t v) const { return remaining[static_cast<std::size_t>(v)] != 0; }
};

// One pass over the lattice, reading two pixel rows at a time through rows
// padded with an outside pixel at both ends (so the border needs no branch).
EdgeTable buildEdgeTable(const TraceMask& mask)
{
    const int w = mask.width;
    const int h = mask.height;
    EdgeTable table;
    table.stride = w + 1;
    table.remaining.assign(static_cast<std::size_t>(w + 1) * (h + 1), 0);

    std::vector<std::uint8_t> upper(static_cast<std::size_t>(w) + 2, 0);  // pixel row Y - 1
    std::vector<std::uint8_t> lower(static_cast<std::size_t>(w) + 2, 0);  // pixel row Y
    for (int y = 0; y <= h; ++y) {
        std::swap(upper, lower);
        if (y < h)
            std::copy_n(mask.row(y), w, lower.begin() + 1);
        else
            std::fill(lower.begin(), lower.end(), 0);

        const std::int64_t rowStart = static_cast<std::int64_t>(y) * table.stride;
        std::uint8_t* out = table.remaining.data() + rowStart;
        for (int x = 0; x <= w; ++x) {
            const std::uint8_t a = upper[x], b = upper[x + 1];
            const std::uint8_t c = lower[x], d = lower[x + 1];
            const std::uint8_t set = static_cast<std::uint8_t>(
                (a & (b ^ 1)) * north | (b & (d ^ 1)) * east | (c & (a ^ 1)) * west | (d & (c ^ 1)) * south);
            out[x] = set;
            if (set)
                table.withEdges.push_back(rowStart + x);
        }
    }
    return table;
}

// The corners of a walked loop: point i stays when the outline turns there
// (|cross(p[i] - p[i-1], p[i+1] - p[i])| > 1e-9, indices wrapping). A loop that
// would keep 2 points or fewer is returned whole.
std::vector<Pt> cornersOf(const std::vector<std::int64_t>& walk, std::int64_t stride)
{
    const std::size_t n = walk.size();
    std::vector<Pt> points(n);
    for (std::size_t i = 0; i < n; ++i)
        points[i] = {static_cast<double>(walk[i] % stride), static_cast<double>(walk[i] / stride)};

    std::vector<Pt> corners;
    corners.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Pt before = points[(i + n - 1) % n];
        const Pt after = points[(i + 1) % n];
        if (std::abs(cross(points[i] - before, after - points[i])) > 1e-9)
            corners.push_back(points[i]);
    }
    return corners.size() <= 2 ? points : corners;
}

} // namespace

std::vector<std::vector<Pt>> boundaryLoops(const TraceMask& mask)
{
    EdgeTable table = buildEdgeTable(mask);

    // Every edge is walked once. The step limit only guards against a table
    // that does not close; one built from a mask always does.
    const std::int64_t maxSteps = static_cast<std::int64_t>(table.remaining.size()) * 4;
    std::vector<std::vector<Pt>> loops;
    std::vector<std::int64_t> walk;
    for (const std::int64_t start : table.withEdges) {
        while (table.hasEdge(start)) {
            walk.clear();
            walk.push_back(start);
            std::int64_t current = table.takeEdge(start);
            if (current != start) {
                for (std::int64_t step = 0; step < maxSteps; ++step) {
                    walk.push_back(current);
                    if (!table.hasEdge(current))
                        break;
                    const std::int64_t next = table.takeEdge(current);
                    if (next == start)
                        break;
                    current = next;
                }
            }
            if (walk.size() >= 4)
                loops.push_back(cornersOf(walk, table.stride));
        }
    }
    return loops;
}

} // namespace zephrin::tracing
