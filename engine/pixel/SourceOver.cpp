#include "engine/pixel/SourceOver.h"

#include "engine/pixel/detail/Compositing.h"
#include "engine/pixel/detail/Div255.h"

namespace zephrin {

Image sourceOver(const Image& foreground, const Image& background)
{
    const cv::Rect area = detail::unionExtent(foreground.extent(), background.extent());
    if (area.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), area.tl());
    return Image(detail::compositeOver(
                     area, CV_8UC4,
                     [](uchar* out, const uchar* front, const uchar* back, int pixels) {
                         for (int x = 0; x < pixels; ++x) {
                             const int uncovered = 255 - front[4 * x + 3];
                             for (int c = 0; c < 4; ++c) {
                                 const int i = 4 * x + c;
                                 out[i] = cv::saturate_cast<uchar>(front[i] + detail::div255(back[i] * uncovered));
                             }
                         }
                     },
                     foreground, background),
                 area.tl());
}

} // namespace zephrin
