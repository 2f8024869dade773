#pragma once
// Merging the mask edit layers into a matte.
//
// Matte (CV_8UC1) and the two layers in, a Matte over the matte's extent out:
//   v' = min(255 − erase, max(restore, v)),
// so erase wins where both layers are white. Where a layer's extent does not
// reach (a layer of another size than the matte) it reads as 0, untouched,
// rather than as black erasing everything. Cost: one parallel pass.

#include "engine/edits/MaskEditLayers.h"

namespace zephrin {

Matte mergedMaskEdits(const Matte& matte, const MaskEditLayers& edits);

} // namespace zephrin
