#pragma once
// Painting one brush stroke into a paint layer.
//
// Layer: CV_8UC4 premultiplied at origin (0, 0), changed in place. The dabs
// (BrushDabs.h) merge into one stroke of coverage A = 1 − Π(1 − α a) with α the
// colour's own alpha and a each dab's coverage (StrokeCoverage.h); the stroke
// is then laid over the layer in the stroke's colour at alpha A × opacity ×
// clip coverage. So overlapping dabs never build up beyond the opacity.
// Cost: only the pixels the dabs reach within the clip, in parallel bands.

#include "engine/paint/PaintClip.h"
#include "engine/paint/PaintOp.h"

namespace zephrin {

void paintStroke(Image& layer, const PaintStroke& stroke, const PaintClip& clip);

} // namespace zephrin
