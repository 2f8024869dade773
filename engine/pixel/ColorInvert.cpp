#include "engine/pixel/ColorInvert.h"

#include "engine/pixel/PixelBuffer.h"
#include "engine/pixel/detail/PixelMap.h"

namespace zephrin {

Image colorInvert(const Image& image)
{
    if (image.empty())
        return image;
    return Image(detail::mapPixels(image.pixels, CV_8UC4,
                                   [](const uchar* in, uchar* out, int pixels) {
                                       for (int x = 0; x < pixels; ++x, in += 4, out += 4) {
                                           const uchar alpha = in[3];
                                           // A channel above alpha is not premultiplied colour; it clips to 0.
                                           out[0] = uchar(alpha > in[0] ? alpha - in[0] : 0);
                                           out[1] = uchar(alpha > in[1] ? alpha - in[1] : 0);
                                           out[2] = uchar(alpha > in[2] ? alpha - in[2] : 0);
                                           out[3] = alpha;
                                       }
                                   }),
                 image.origin);
}

Matte colorInvert(const Matte& matte)
{
    if (matte.empty())
        return matte;
    cv::Mat out;
    out.allocator = pixelBufferAllocator();
    cv::bitwise_not(matte.pixels, out);
    return Matte(out, matte.origin);
}

} // namespace zephrin
