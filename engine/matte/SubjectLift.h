#pragma once
// Our classical subject finder, the engine's "Subject Lift": it finds the one
// thing in a photograph that does not look like the photograph's surroundings.
//
// Method, on a working copy of at most kSubjectLiftWorkPixels:
//   1. background model — the colours of a band along the frame (CIE Lab,
//      k-means into a few clusters); a cluster counts as background when it
//      appears on at least two sides or fills a large share of the band, so a
//      subject that touches one edge does not become background;
//   2. seeds — two cues in equal parts: every pixel's colour distance to the
//      nearest background cluster (beyond that cluster's spread), and its
//      minimum barrier distance from the band (how high an edge a path from the
//      frame must cross to reach it). Pixels above Otsu's threshold (at least 8
//      Lab units) seed the subject, the rest the background; band pixels close
//      to a background cluster, and transparent pixels, are certain background;
//   3. GrabCut refines both colour models and the cut (3 iterations);
//   4. the components that matter are kept (at least 5% of the largest), specks
//      of background inside the subject are filled;
//   5. the edge is softened and scaled back to full size by the guided filter,
//      so it follows the image's own edges.
// Nothing is found when no pixel stands out from the background model, when the
// subject is negligible (below 0.2% of the searched area), when it covers
// almost all of it (above 95%), or when no edge sets it off (its outline is not
// clearly sharper than the image on average, as in a smooth gradient).
//
// Cost: the working copy, about 30 ms of seeding, GrabCut (about 0.15 s on
// 0.16 MP, one thread; longer where the seeds are ambiguous) and the guided
// upsampling (about 40 ms at 12 MP): about 0.3 s for a 12 MP photograph.

#include "engine/pixel/Image.h"

#include <optional>

namespace zephrin {

inline constexpr int kSubjectLiftWorkPixels = 160'000;

// The soft subject matte of the part of `image` inside `searchArea` (pixel
// coordinates of the image's buffer, y down; the whole image when absent; it is
// clipped to the image): a Matte of the clipped area's size whose origin is the
// area's top-left corner, white = subject. nullopt when nothing stands out, the
// area is empty, or it is too small to tell a subject from its surroundings
// (below 8 pixels on a side).
std::optional<Matte> liftSubject(const Image& image, std::optional<cv::Rect> searchArea = std::nullopt);

} // namespace zephrin
