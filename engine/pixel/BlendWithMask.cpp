#include "engine/pixel/BlendWithMask.h"

#include "engine/pixel/detail/Compositing.h"
#include "engine/pixel/detail/Div255.h"

namespace zephrin {

Image blendWithMask(const Image& foreground, const Image& background, const Matte& mask)
{
    const cv::Rect area = detail::unionExtent(foreground.extent(), background.extent());
    if (area.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), area.tl());
    return Image(detail::compositeOver(
                     area, CV_8UC4,
                     [](uchar* out, const uchar* front, const uchar* back, const uchar* m, int pixels) {
                         for (int x = 0; x < pixels; ++x) {
                             const int weight = m[x];
                             for (int c = 0; c < 4; ++c) {
                                 const int i = 4 * x + c;
                                 out[i] = uchar(detail::div255(front[i] * weight + back[i] * (255 - weight)));
                             }
                         }
                     },
                     foreground, background, mask),
                 area.tl());
}

} // namespace zephrin
