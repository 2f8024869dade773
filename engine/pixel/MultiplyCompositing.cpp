#include "engine/pixel/MultiplyCompositing.h"

#include "engine/pixel/PixelRows.h"
#include "engine/pixel/detail/Compositing.h"
#include "engine/pixel/detail/Div255.h"

namespace zephrin {

Image multiplyCompositing(const Image& foreground, const Image& background)
{
    return detail::combineImages(foreground, background,
                                 [](const uchar* front, const uchar* back, uchar* out, int pixels) {
                                     for (int x = 0; x < pixels; ++x, front += 4, back += 4, out += 4) {
                                         const int frontUncovered = 255 - front[3];
                                         const int backUncovered = 255 - back[3];
                                         for (int c = 0; c < 4; ++c) {
                                             const int sum = front[c] * back[c] + front[c] * backUncovered
                                                 + back[c] * frontUncovered;
                                             out[c] = cv::saturate_cast<uchar>(detail::div255(sum));
                                         }
                                     }
                                 });
}

Matte multiplyCompositing(const Matte& a, const Matte& b)
{
    return detail::combineMattes(a, b, a.extent() & b.extent(),
                                 [](const uchar* first, const uchar* second, uchar* out, int width) {
                                     pixelRows::product(first, second, out, width);
                                 });
}

} // namespace zephrin
