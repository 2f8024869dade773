#pragma once
// A font preview redrawn in the picker's own ink. Catalogue previews are the
// family's name set in dark ink, which vanishes on the dark picker; the
// picker shows the same strokes in its text colour instead.

#include <QColor>
#include <QImage>

namespace zephrin::fontpreview {

// The strokes of `preview` in `ink`, on transparency. A preview on a
// transparent ground gives its strokes by their opacity; one on an opaque
// ground (its top-left pixel) by how far each pixel's lightness lies from the
// ground's, the farthest being full ink. A null image stays null.
QImage inked(const QImage& preview, const QColor& ink);

} // namespace zephrin::fontpreview
