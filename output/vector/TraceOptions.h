#pragma once
// Every choice of one trace. The member values are the ones an SVG export uses
// when nothing else is asked for; callers set what they need.

#include "output/vector/TraceSource.h"

#include <string>

namespace zephrin {

// The fill of a single layer when the caller gives no usable colour.
inline constexpr const char* kDefaultSilhouetteColor = "#000000";

struct TraceOptions {
    TraceSource source = TraceSource::autoDetect;
    // Luminance 0 to 1 below which a visible pixel counts as ink; above 1 every
    // transparent pixel near the subject counts as ink too.
    double inkThreshold = 0.5;
    int traceLongEdge = 2048;       // the traced bitmap's longer side, at most, in pixels
    int colors = 1;                 // number of colour layers; below 2 means one silhouette layer
    double detail = 0.5;            // 0 to 1; higher keeps more corners
    double alphaThreshold = 0.5;    // a pixel is subject when alpha / 255 is at least this
    bool fileMaker = false;         // one silhouette layer, written square and class-tagged
    double minimumArea = 6.0;       // contours enclosing less (traced pixels squared) are dropped
    std::string silhouetteColor = kDefaultSilhouetteColor;  // fill text of the single layer (#RRGGBB)
    // The written page's longer side, in pixels (its width and height; the
    // outlines keep the traced units of its viewBox). 0 or less: the traced size.
    int pageLongEdge = 0;

    friend bool operator==(const TraceOptions&, const TraceOptions&) = default;
};

} // namespace zephrin
