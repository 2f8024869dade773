#pragma once
// Where the pixels of a composite come from in the document. The composite
// shows the document from `origin` on, `scale` composite pixels per document
// pixel, and, with `mirror`, flipped left to right across its own `width`.
// Edits are stored in document pixels, so whatever points at the composite
// (the canvas's pointer, its overlay) goes through this frame.

#include <QPointF>

namespace zephrin {

struct CompositeFrame {
    QPointF origin{0, 0};  // the document point under the composite's left edge (right edge when mirrored)
    double scale = 1;      // composite pixels per document pixel
    bool mirror = false;
    double width = 0;      // the composite's width in its own pixels: the mirror's axis

    // A point of the composite (its pixels, y down) in document pixels.
    QPointF toDocument(QPointF p) const
    {
        const double x = mirror ? width - p.x() : p.x();
        return {origin.x() + x / scale, origin.y() + p.y() / scale};
    }

    // A document point in the composite's pixels.
    QPointF fromDocument(QPointF q) const
    {
        const double x = (q.x() - origin.x()) * scale;
        return {mirror ? width - x : x, (q.y() - origin.y()) * scale};
    }

    friend bool operator==(const CompositeFrame&, const CompositeFrame&) = default;
};

} // namespace zephrin
