#pragma once
// How much of each pixel one brush stroke covers.
//
// A stroke is a row of dabs. One dab covers a pixel by a, 0 to 1:
//   round  — measured at the pixel's centre, d its distance from the dab's
//            centre: 1 up to hardness × radius, then falling linearly to 0 at
//            the radius, nothing beyond (hardness 1: a hard disc, 0: a cone);
//   square — the share of the pixel's area inside the axis-aligned square of
//            side 2 × radius about the dab's centre (hardness is not used).
// The stroke covers a pixel by 1 − Π(1 − a) over its dabs: the dabs of one
// stroke merge with each other as opaque paint laid down dab after dab would,
// and then act on the layer as one. Lightening to white by the stroke equals
// lightening by each dab in turn (and likewise darkening to black), without
// rounding to 8 bits between dabs.
//
// Cost: each dab touches only its bounding box. The stroke's box is cut into
// bands of rows rendered in parallel; every band visits the dabs that reach it.

#include "engine/edits/BrushTip.h"

#include <QPointF>
#include <opencv2/core.hpp>

#include <functional>
#include <vector>

namespace zephrin {

struct Brush {
    BrushTip tip = BrushTip::round;
    double size = 1;      // diameter, pixels; the radius is brushRadius(size)
    double hardness = 1;  // clamped to 0 … 1

    friend bool operator==(const Brush&, const Brush&) = default;
};

// Receives the coverage (CV_32FC1, band.size()) of one band of rows, `band` in
// image space. Called from several threads at once, for bands that share no row.
using StrokeBandSink = std::function<void(cv::Rect band, const cv::Mat& coverage)>;

// Renders the coverage of the stroke along `points` (dabs placed by
// dabCentres, BrushDabs.h) over `area` (image space) and hands it to `sink`
// band by band; only the part of `area` the dabs can reach is visited.
// Nothing happens for no points.
void renderStrokeCoverage(const Brush& brush, const std::vector<QPointF>& points, cv::Rect area,
                          const StrokeBandSink& sink);

} // namespace zephrin
