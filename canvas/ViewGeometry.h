#pragma once
// The canvas's geometry: the shown image fitted into the canvas region less a
// 24-point margin, times the zoom, centred and moved by the pan; the mapping
// from points of the region to document pixels (through the frame of the
// shown composite) and back; zooming by pinch, by scroll about the pointer,
// and the compare divider. Windowless, so the tests check it with numbers.

#include "engine/composite/CompositeFrame.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

namespace zephrin {

inline constexpr double kCanvasMargin = 24;
inline constexpr double kMinCanvasZoom = 0.25;
inline constexpr double kMaxCanvasZoom = 8.0;

// The image fitted into the container less the margins (each extent at least
// 1 point), then scaled by `zoom`. Empty for an empty image.
QSizeF displayedSize(QSizeF container, QSizeF image, double zoom);

// Where region points land in the document, and back.
struct ViewMapping {
    QPointF origin;        // the displayed image's top-left corner in the region
    double scale = 1;      // view points per pixel of the shown image
    CompositeFrame frame;  // shown pixels → document pixels
    QSizeF size;           // the displayed size

    // A point of the region in document pixels.
    QPointF toDocument(QPointF region) const { return frame.toDocument((region - origin) / scale); }
    // A document point in the image layer's own points (origin at the image's top-left).
    QPointF toLayer(QPointF document) const { return frame.fromDocument(document) * scale; }
    QPointF toRegion(QPointF document) const { return origin + toLayer(document); }
    // A document rectangle in the layer's points (mirroring keeps it a rectangle).
    QRectF toLayer(const QRectF& document) const
    {
        return QRectF(toLayer(document.topLeft()), toLayer(document.bottomRight())).normalized();
    }
    // View points per document pixel.
    double documentScale() const { return scale * frame.scale; }
    QRectF imageRect() const { return {origin, size}; }
};

// The mapping for an image of `image` pixels shown with that zoom and pan.
ViewMapping viewMapping(QSizeF container, QSizeF image, double zoom, QSizeF pan, const CompositeFrame& frame = {});

// Where a document of `document` pixels lies in the region under `mapping`:
// its own rectangle through the inverse of the composite frame, so each
// document pixel lies where the shown image shows it (mirrored with it).
QRectF documentRect(const ViewMapping& mapping, QSizeF document);

// A pinch: the zoom at its start times the magnification, within 0.25…8.
double pinchZoom(double startZoom, double magnification);

struct ZoomAndPan {
    double zoom = 1;
    QSizeF pan;
};

// Zooms by `factor` about `point` (region points) so that the image pixel
// under it stays there; the zoom is held within 0.25…8 and the pan follows.
ZoomAndPan zoomAbout(QPointF point, double factor, QSizeF container, QSizeF image, double zoom, QSizeF pan);

// The zoom factor of a vertical scroll: a precise delta (pixels, trackpads)
// counts 60 per unit, a wheel's 10 per notch; none when it is too small to
// count. Positive enlarges.
std::optional<double> scrollZoomFactor(double deltaY, bool precise);

// The compare divider's place as a fraction of the width, 2 % from either
// edge at least; none while the view has no width.
std::optional<double> comparePosition(double x, double width);

} // namespace zephrin
