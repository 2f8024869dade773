#pragma once
// The catalogue of label shapes a text layer can sit on, and the geometry of
// each: a closed outline of a requested size centred on the origin, with the
// rectangle inside it where the label's text goes. The text renderer draws
// labels from it; the shape gallery draws its thumbnails with the same paths.
//
// Geometry lives in label space: origin at the label's centre, y up, in the
// caller's units (pixels for rendering, points for thumbnails). Every outline
// carries the non-zero winding fill rule, which merges the overlapping circles
// of the cloud and the scallop into one silhouette.
// Every function is pure and thread-safe.

#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <array>
#include <optional>

namespace zephrin::ShapeKit {

// One catalogue entry.
struct Kind {
    QString id;    // the key stored in TextLayer::shape
    QString name;  // shown in the gallery
    QString group; // the gallery section
    double w = 0;  // default label width, fraction of the image height (TextLayer::shapeW)
    double h = 0;  // default label height, fraction of the image height (TextLayer::shapeH)
    QString word;  // the text a new label of this kind starts with

    friend bool operator==(const Kind&, const Kind&) = default;
};

// An outline and its text rectangle, in label space. No path means nothing to
// draw (an id outside the catalogue); its rectangle is then empty at (0, 0).
struct Geometry {
    std::optional<QPainterPath> path;
    QRectF textRect;

    friend bool operator==(const Geometry&, const Geometry&) = default;
};

// The twelve kinds, in gallery order.
const std::array<Kind, 12>& kinds();

// The entry whose id is exactly `id` (case-sensitive), or none.
std::optional<Kind> kind(const QString& id);

// The outline of kind `id` at `width` × `height`, centred on the origin, and the
// rectangle for its text. Kinds designed in a unit space are scaled so that the
// outline's tight bounding box fills the box exactly, even when the drawing is
// off-centre.
Geometry path(const QString& id, double width, double height);

// The outline of the kinds designed in a unit space (all but "rect", "rounded"
// and "speech") with their text rectangles in that space; nothing for any other id.
Geometry unitPath(const QString& id);

} // namespace zephrin::ShapeKit
