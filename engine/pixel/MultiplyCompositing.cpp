#include "engine/pixel/MultiplyCompositing.h"

#include "engine/pixel/detail/Compositing.h"
#include "engine/pixel/detail/Div255.h"

namespace zephrin {

Image multiplyCompositing(const Image& foreground, const Image& background)
{
    const cv::Rect area = detail::unionExtent(foreground.extent(), background.extent());
    if (area.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), area.tl());
    return Image(detail::compositeOver(
                     area, CV_8UC4,
                     [](uchar* out, const uchar* front, const uchar* back, int pixels) {
                         for (int x = 0; x < pixels; ++x) {
                             const int frontUncovered = 255 - front[4 * x + 3];
                             const int backUncovered = 255 - back[4 * x + 3];
                             for (int c = 0; c < 4; ++c) {
                                 const int i = 4 * x + c;
                                 const int sum = front[i] * back[i] + front[i] * backUncovered + back[i] * frontUncovered;
                                 out[i] = cv::saturate_cast<uchar>(detail::div255(sum));
                             }
                         }
                     },
                     foreground, background),
                 area.tl());
}

Matte multiplyCompositing(const Matte& a, const Matte& b)
{
    const cv::Rect area = a.extent() & b.extent();
    if (area.empty())
        return Matte(cv::Mat(0, 0, CV_8UC1), a.origin);
    return Matte(detail::compositeOver(
                     area, CV_8UC1,
                     [](uchar* out, const uchar* first, const uchar* second, int pixels) {
                         for (int x = 0; x < pixels; ++x)
                             out[x] = uchar(detail::div255(first[x] * second[x]));
                     },
                     a, b),
                 area.tl());
}

} // namespace zephrin
