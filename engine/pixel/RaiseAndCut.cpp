#include "engine/pixel/RaiseAndCut.h"

#include "engine/pixel/detail/Compositing.h"

#include <algorithm>

namespace zephrin {

Matte raisedAndCut(const Matte& matte, const Matte& raise, const Matte& cut)
{
    if (matte.empty())
        return matte;
    return Matte(detail::compositeOver(
                     matte.extent(), CV_8UC1,
                     [](uchar* out, const uchar* value, const uchar* floor, const uchar* removed, int pixels) {
                         for (int x = 0; x < pixels; ++x)
                             out[x] = std::min(uchar(255 - removed[x]), std::max(floor[x], value[x]));
                     },
                     matte, raise, cut),
                 matte.origin);
}

} // namespace zephrin
