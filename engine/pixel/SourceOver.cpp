#include "engine/pixel/SourceOver.h"

#include "engine/pixel/detail/Compositing.h"
#include "engine/pixel/detail/Div255.h"

namespace zephrin {

Image sourceOver(const Image& foreground, const Image& background)
{
    return detail::combineImages(foreground, background, [](const uchar* front, const uchar* back, uchar* out) {
        const int uncovered = 255 - front[3];
        for (int c = 0; c < 4; ++c)
            out[c] = cv::saturate_cast<uchar>(front[c] + detail::div255(back[c] * uncovered));
    });
}

} // namespace zephrin
