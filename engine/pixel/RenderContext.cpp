#include "engine/pixel/RenderContext.h"

#include "engine/pixel/detail/PlaneArea.h"

namespace zephrin {

cv::Mat renderRGBA8(const Image& image, cv::Rect area) { return detail::sampledArea(image, area, detail::Outside::zero); }

cv::Mat renderGrey8(const Matte& matte, cv::Rect area) { return detail::sampledArea(matte, area, detail::Outside::zero); }

} // namespace zephrin
