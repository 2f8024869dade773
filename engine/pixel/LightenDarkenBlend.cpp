#include "engine/pixel/LightenDarkenBlend.h"

#include "engine/pixel/detail/Compositing.h"
#include "engine/pixel/detail/RowKernels.h"

#include <cstring>

namespace zephrin {

namespace {

template <void (*combine)(uchar*, const uchar*, int)>
Matte combined(const Matte& a, const Matte& b, cv::Rect area)
{
    if (area.empty())
        return Matte(cv::Mat(0, 0, CV_8UC1), a.origin);
    return Matte(detail::compositeOver(
                     area, CV_8UC1,
                     [](uchar* out, const uchar* first, const uchar* second, int pixels) {
                         std::memcpy(out, first, size_t(pixels));
                         combine(out, second, pixels);
                     },
                     a, b),
                 area.tl());
}

} // namespace

Matte lightenBlend(const Matte& a, const Matte& b)
{
    return combined<detail::maxInto>(a, b, detail::unionExtent(a.extent(), b.extent()));
}

Matte darkenBlend(const Matte& a, const Matte& b) { return combined<detail::minInto>(a, b, a.extent() & b.extent()); }

} // namespace zephrin
