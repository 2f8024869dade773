#pragma once
// Painting one gradient into a paint layer.
//
// Layer: CV_8UC4 premultiplied at origin (0, 0), changed in place. At each
// pixel centre p the gradient position t (0 to 1) is
//   linear — the projection of p onto from → to, clamped: the start colour
//            continues before `from`, the end colour beyond `to`; when the two
//            ends coincide the gradient has no direction and paints nothing;
//   radial — |p − from| / max(1, |to − from|), clamped: the end colour
//            continues outside the circle.
// The colour is the straight (un-premultiplied) mix of start and end at t,
// laid over the layer at its alpha × opacity × clip coverage.
// Cost: one parallel pass over the clip's box (the whole layer unclipped).

#include "engine/paint/PaintClip.h"
#include "engine/paint/PaintOp.h"

namespace zephrin {

void paintGradient(Image& layer, const PaintGradient& gradient, const PaintClip& clip);

} // namespace zephrin
