#include "engine/refine/MergeMaskEdits.h"

#include "engine/pixel/RaiseAndCut.h"

namespace zephrin {

Matte mergedMaskEdits(const Matte& matte, const MaskEditLayers& edits)
{
    return raisedAndCut(matte, edits.restore, edits.erase);
}

} // namespace zephrin
