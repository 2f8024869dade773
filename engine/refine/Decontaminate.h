#pragma once
// Decontamination: edge pixels take on the colour of the nearby interior, so
// that a fringe of the old background does not show around the cutout.
//
// `colour` (CV_8UC4 premultiplied; the colour source of the cutout) and
// `source` (the untouched source, same extent) in; out the new colour of the
// 128 × 128 tiles of colour's extent that the band reaches, an Image each
// (disjoint, row by row): elsewhere the colour stays. With T the
// refined matte thresholded at one half:
//   band   = dilate(T, 2.5) × (1 − erode(T, 2.5)), a ring about 5 px wide;
//   G      = Gaussian (sigma 4) of the source masked by erode(T, 2.5): the
//            interior colour spread a few pixels outward;
//   weight = strength × band × alpha(G);
//   out    = un-premultiplied G made opaque, blended over `colour` by weight.
// Every neighbourhood step repeats the edge pixels, so a subject touching the
// frame is treated like one inside it. `strength` is 0 to 1.
// Cost: a few passes over the matte; the colour work (a blur of sigma 4 and
// three passes) only in the tiles the band reaches. Handing out the tiles
// rather than a whole new colour image saves the cutout a copy of the image.

#include "engine/pixel/Image.h"

#include <vector>

namespace zephrin {

std::vector<Image> decontaminatedTiles(const Image& colour, const Image& source, const Matte& refined,
                                       double strength);

} // namespace zephrin
