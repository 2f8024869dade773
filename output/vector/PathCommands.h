#pragma once
// Traced contours as drawing commands, for every writer of outlines (SVG path
// data, painter paths): per contour that has segments, a move to the first
// segment's start, then per segment a line to its end when it is straight or a
// cubic curve through its two controls otherwise, then a close. The closing
// segment is included, so each contour ends where it began before the close.

#include "output/vector/TraceResult.h"

#include <string>
#include <vector>

namespace zephrin {

// Sink: moveTo(Pt), lineTo(Pt), curveTo(Pt c1, Pt c2, Pt end), close().
template <class Sink>
void walkContours(const std::vector<TracedContour>& contours, Sink& sink)
{
    for (const TracedContour& contour : contours) {
        if (contour.segments.empty())
            continue;
        sink.moveTo(contour.segments.front().p0);
        for (const CubicSegment& s : contour.segments) {
            if (s.isStraight())
                sink.lineTo(s.p3);
            else
                sink.curveTo(s.p1, s.p2, s.p3);
        }
        sink.close();
    }
}

// SVG path data with absolute, upper-case commands and no separators between
// them: "M x y", then "L x y" or "C x1 y1 x2 y2 x y", then "Z".
// writePoint(out, Pt) writes one point as "x y".
template <class WritePoint>
void appendPathData(std::string& out, const std::vector<TracedContour>& contours, WritePoint&& writePoint)
{
    struct Writer {
        std::string& out;
        WritePoint& writePoint;

        void moveTo(const Pt& p)
        {
            out += 'M';
            writePoint(out, p);
        }
        void lineTo(const Pt& p)
        {
            out += 'L';
            writePoint(out, p);
        }
        void curveTo(const Pt& c1, const Pt& c2, const Pt& p)
        {
            out += 'C';
            writePoint(out, c1);
            out += ' ';
            writePoint(out, c2);
            out += ' ';
            writePoint(out, p);
        }
        void close() { out += 'Z'; }
    } writer{out, writePoint};
    walkContours(contours, writer);
}

} // namespace zephrin
