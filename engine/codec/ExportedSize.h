#pragma once
// The size an export writes, known before it runs, so that what the editor
// shows and checks is what the file measures. A picture is scaled down so
// that its longer side is the export's long edge, and never enlarged
// (renderData scales by exportScale). A traced drawing (SVG) has no pixels
// to lose: its page is drawn at the long edge, larger or smaller.

#include "engine/types/ExportFormat.h"

#include <QSize>
#include <QSizeF>

#include <optional>

namespace zephrin {

// The factor for a long edge above 0 and below the picture's longer side;
// none when the picture keeps its size.
std::optional<double> exportScale(QSize picture, int maxLongEdge);

// The picture's size after that scaling (each side rounded as the scaling
// rounds it).
QSize exportedSize(QSize picture, int maxLongEdge);

// The size a drawing's page (in its own units) is written at: its longer side
// the long edge, the other in proportion, rounded to whole pixels and at
// least 1. A long edge of 0 or less leaves the page as it is.
QSizeF exportedPageSize(QSizeF page, int maxLongEdge);

// The longer side of the file an export in `format` writes of `picture` (the
// result a raster export encodes): at most the long edge for a picture, the
// long edge itself for a drawing. With a long edge of 0 or less, the picture's.
int exportedLongSide(QSize picture, int maxLongEdge, ExportFormat format);

} // namespace zephrin
