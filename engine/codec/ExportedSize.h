#pragma once
// The size of a raster export: a picture is scaled down so that its longer
// side is the export's long edge, and never enlarged. renderData scales by
// exportScale; exportedSize is the size that results, for what the editor
// shows and checks before anything is written.

#include <QSize>

#include <optional>

namespace zephrin {

// The factor for a long edge above 0 and below the picture's longer side;
// none when the picture keeps its size.
std::optional<double> exportScale(QSize picture, int maxLongEdge);

// The picture's size after that scaling (each side rounded as the scaling
// rounds it).
QSize exportedSize(QSize picture, int maxLongEdge);

} // namespace zephrin
