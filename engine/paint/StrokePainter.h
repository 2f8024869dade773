#pragma once
// Painting one brush stroke into a paint layer.
//
// Layer: CV_8UC4 premultiplied at origin (0, 0), changed in place. The dabs
// (BrushDabs.h) merge into one stroke of coverage A = 1 − Π(1 − a), a each
// dab's coverage (StrokeCoverage.h); the stroke is then laid over the layer in
// its straight colour at alpha A × the colour's alpha × opacity × clip
// coverage. However many dabs overlap, the stroke shows at most the colour's
// alpha times the opacity.
// Cost: only the pixels the dabs reach within the clip, in parallel bands.

#include "engine/paint/PaintClip.h"
#include "engine/paint/PaintOp.h"

namespace zephrin {

void paintStroke(Image& layer, const PaintStroke& stroke, const PaintClip& clip);

} // namespace zephrin
