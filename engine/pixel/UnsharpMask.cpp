#include "engine/pixel/UnsharpMask.h"

#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/detail/Compositing.h"

#include <cmath>

namespace zephrin {

Matte unsharpMask(const Matte& matte, double radius, double intensity, EdgeMode edges)
{
    if (matte.empty() || !(radius > 0) || intensity == 0 || !std::isfinite(intensity))
        return matte;
    const Matte blurred = gaussianBlur(matte, radius, edges);
    const float gain = float(intensity);
    return Matte(detail::compositeOver(
                     matte.extent(), CV_8UC1,
                     [gain](uchar* out, const uchar* sharp, const uchar* soft, int pixels) {
                         for (int x = 0; x < pixels; ++x) {
                             const float v = float(sharp[x]) + gain * float(int(sharp[x]) - int(soft[x]));
                             out[x] = cv::saturate_cast<uchar>(v);
                         }
                     },
                     matte, blurred),
                 matte.origin);
}

} // namespace zephrin
