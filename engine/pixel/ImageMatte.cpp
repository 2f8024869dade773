#include "engine/pixel/ImageMatte.h"

#include "engine/pixel/PixelRows.h"
#include "engine/pixel/detail/PixelMap.h"
#include "engine/pixel/detail/PlaneArea.h"

namespace zephrin {

Matte alphaMatte(const Image& image)
{
    if (image.empty())
        return Matte(cv::Mat(0, 0, CV_8UC1), image.origin);
    return Matte(detail::mapPixels(image.pixels, CV_8UC1,
                                   [](const uchar* in, uchar* out, int pixels) { pixelRows::alphaOf(in, out, pixels); }),
                 image.origin);
}

Image greyImage(const Matte& matte)
{
    if (matte.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), matte.origin);
    return Image(detail::mapPixels(matte.pixels, CV_8UC4,
                                   [](const uchar* in, uchar* out, int pixels) {
                                       for (int x = 0; x < pixels; ++x, out += 4) {
                                           out[0] = out[1] = out[2] = in[x];
                                           out[3] = 255;
                                       }
                                   }),
                 matte.origin);
}

Image maskedBy(const Image& image, const Matte& matte)
{
    if (image.empty())
        return image;
    const cv::Mat mask = detail::areaView(matte, image.extent());
    return Image(detail::fillRows(image.size(), CV_8UC4,
                                  [&](int y, uchar* out) {
                                      pixelRows::masked(image.pixels.ptr(y), mask.ptr(y), out, image.width());
                                  }),
                 image.origin);
}

} // namespace zephrin
