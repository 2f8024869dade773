#include "engine/pixel/LightenDarkenBlend.h"

#include "engine/pixel/detail/Compositing.h"
#include "engine/pixel/detail/RowKernels.h"

#include <cstring>

namespace zephrin {

namespace {

template <void (*combineInto)(uchar*, const uchar*, int)>
void rowExtremes(const uchar* first, const uchar* second, uchar* out, int width)
{
    std::memcpy(out, first, size_t(width));
    combineInto(out, second, width);
}

} // namespace

Matte lightenBlend(const Matte& a, const Matte& b)
{
    return detail::combineMattes(a, b, detail::unionExtent(a.extent(), b.extent()), rowExtremes<detail::maxInto>);
}

Matte darkenBlend(const Matte& a, const Matte& b)
{
    return detail::combineMattes(a, b, a.extent() & b.extent(), rowExtremes<detail::minInto>);
}

} // namespace zephrin
