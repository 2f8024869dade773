#include "engine/pixel/ClampToExtent.h"

#include "engine/pixel/detail/PlaneArea.h"

namespace zephrin {

Image clampedToExtent(const Image& image, cv::Rect area)
{
    return Image(detail::sampledArea(image, area, detail::Outside::nearestEdge), area.tl());
}

Matte clampedToExtent(const Matte& matte, cv::Rect area)
{
    return Matte(detail::sampledArea(matte, area, detail::Outside::nearestEdge), area.tl());
}

} // namespace zephrin
