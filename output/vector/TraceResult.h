#pragma once
// What a trace produces: filled layers of closed cubic outlines, in the traced
// bitmap's pixel space (origin at its top-left corner, y down; pixel (i, j)
// covers the square (i, j) to (i + 1, j + 1), so outline vertices start on
// integer coordinates).

#include <string>
#include <vector>

namespace zephrin {

struct Pt {
    double x = 0;
    double y = 0;

    friend bool operator==(const Pt&, const Pt&) = default;
};

// Start, first control, second control, end. A straight piece has p1 == p0 and
// p2 == p3.
struct CubicSegment {
    Pt p0;
    Pt p1;
    Pt p2;
    Pt p3;

    bool isStraight() const { return p0 == p1 && p2 == p3; }

    friend bool operator==(const CubicSegment&, const CubicSegment&) = default;
};

// Closed: each segment ends where the next starts, the last where the first
// starts. Outer outlines and holes are both contours; they are filled with the
// even-odd rule, so orientation does not matter.
struct TracedContour {
    std::vector<CubicSegment> segments;

    friend bool operator==(const TracedContour&, const TracedContour&) = default;
};

struct TracedLayer {
    std::string fillHex;                 // "#RRGGBB"
    std::vector<TracedContour> contours;
    int pixelCount = 0;                  // pixels the layer stands for

    friend bool operator==(const TracedLayer&, const TracedLayer&) = default;
};

struct TraceResult {
    int width = 0;                       // traced bitmap size in pixels
    int height = 0;
    std::vector<TracedLayer> layers;     // painting order: first is at the bottom

    friend bool operator==(const TraceResult&, const TraceResult&) = default;
};

} // namespace zephrin
