#pragma once
// The edge blend: the rim of the subject takes on the colours of what lies
// behind it, so a cutout sits into a new background instead of on it.
//
// The rim is a band about r pixels wide inside the subject's edge, r =
// max(width, height) / 600 clamped to 2 … 8; across it the colour moves from
// the subject's towards the background blurred by 4 r, by up to `amount` (0 to
// 1), and the alpha stays the subject's:
//   out = blendWithMask(maskedBy(blurred background, alpha), subject, weight),
//   weight = amount × alpha × (1 − blur(erode(alpha, r), 0.6 r)),
// over the subject's extent (the background anywhere in the plane; outside its
// extent its edge pixels repeat). A subject of 4 pixels or less on a side, or
// an amount of 0 or less, has no rim.
//
// The compositor does the mixing where it flattens the canvas (CanvasLayers):
// edgeWeight gives the weight and how far to blur the background.
// Cost: an erosion and a small blur of the alpha, three passes over the matte.

#include "engine/pixel/Image.h"

#include <optional>

namespace zephrin {

struct EdgeWeight {
    Matte weight;           // over the subject's extent
    double backgroundSigma; // 4 r
};

std::optional<EdgeWeight> edgeWeight(const Image& subject, double amount);

} // namespace zephrin
