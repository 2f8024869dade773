#include "engine/refine/MergeMaskEdits.h"

#include "engine/pixel/detail/Compositing.h"

#include <algorithm>

namespace zephrin {

Matte mergedMaskEdits(const Matte& matte, const MaskEditLayers& edits)
{
    if (matte.empty())
        return matte;
    return Matte(detail::compositeOver(
                     matte.extent(), CV_8UC1,
                     [](uchar* out, const uchar* value, const uchar* erase, const uchar* restore, int pixels) {
                         for (int x = 0; x < pixels; ++x)
                             out[x] = std::min(uchar(255 - erase[x]), std::max(restore[x], value[x]));
                     },
                     matte, edits.erase, edits.restore),
                 matte.origin);
}

} // namespace zephrin
