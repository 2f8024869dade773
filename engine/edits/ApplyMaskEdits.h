#pragma once
// Replaying the mask edits into their two layers.
//
// The ops, in list order, raise one layer and lower the other over the pixels
// they touch, so where two ops conflict the later one wins:
//   stroke   — the brush's coverage c (see StrokeCoverage.h, dabs from
//              BrushDabs.h) lightens the target layer towards white,
//              e' = e + c (255 − e), and darkens the other towards black,
//              r' = (1 − c) r; the target is erase for an erasing stroke,
//              restore otherwise;
//   shape    — the same with the selection's antialiased coverage as c
//              (always erasing); outside a selection is exactly 255 minus
//              inside, under the non-zero winding rule;
//   colorKey — with the source bitmap, v = ⌊match × 255⌋ per pixel (see
//              ColorKeyMatch.h; 1 − match with `keep`) within the selection's
//              pixels (rasterizeMask) or everywhere: e' = max(e, v),
//              r' = min(r, 255 − v).
// Skipped without a trace: a stroke without points, a shape or colour-key
// selection that forms no path (a shape op then does nothing, a colour key
// covers everything), a colour key without colours or without a bitmap of
// exactly width × height.
// Returns none for no ops, a size below 1 × 1 or beyond the pixel layer's
// limits (65536 on a side, 2^30 pixels); the layers otherwise, both
// width × height at origin (0, 0), black where nothing was edited.
// Cost: each op touches only the pixels it can reach, in parallel bands.

#include "engine/bitmap/RGBABitmap.h"
#include "engine/edits/MaskEditLayers.h"
#include "engine/edits/MaskEditOp.h"

#include <optional>
#include <vector>

namespace zephrin {

std::optional<MaskEditLayers> applyMaskEdits(const std::vector<MaskEditOp>& ops, int width, int height,
                                             const std::optional<RGBABitmap>& source = std::nullopt);

} // namespace zephrin
