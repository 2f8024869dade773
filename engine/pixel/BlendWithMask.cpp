#include "engine/pixel/BlendWithMask.h"

#include "engine/pixel/PixelRows.h"
#include "engine/pixel/detail/Compositing.h"

namespace zephrin {

Image blendWithMask(const Image& foreground, const Image& background, const Matte& mask)
{
    const cv::Rect area = detail::unionExtent(foreground.extent(), background.extent());
    if (area.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), area.tl());
    return Image(detail::compositeOver(
                     area, CV_8UC4,
                     [](uchar* out, const uchar* front, const uchar* back, const uchar* m, int pixels) {
                         pixelRows::blended(front, back, m, out, pixels);
                     },
                     foreground, background, mask),
                 area.tl());
}

} // namespace zephrin
