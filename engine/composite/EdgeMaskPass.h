#pragma once
// The edge blend: the rim of the subject takes on the colours of what lies
// behind it, so a cutout sits into a new background instead of on it.
//
// Subject and background CV_8UC4 premultiplied (the background anywhere in the
// plane; outside its extent its edge pixels repeat). The rim is a band about r
// pixels wide inside the subject's edge, r = max(width, height) / 600 clamped to
// 2 … 8; across it the colour moves from the subject's towards the background
// blurred by 4 r, by up to `amount` (0 to 1), and the alpha stays the subject's.
// The result covers the subject's extent. A subject of 4 pixels or less on a
// side, or an amount of 0 or less, comes back unchanged.
// Cost: an erosion and a small blur of the alpha, one large blur of the
// background over the subject's extent, three passes to mix.

#include "engine/pixel/Image.h"

namespace zephrin {

Image edgeMaskPass(const Image& subject, const Image& background, double amount);

} // namespace zephrin
