#include "engine/pixel/ImageMatte.h"

#include "engine/pixel/detail/Div255.h"
#include "engine/pixel/detail/PixelMap.h"
#include "engine/pixel/detail/PlaneArea.h"

namespace zephrin {

Matte alphaMatte(const Image& image)
{
    if (image.empty())
        return Matte(cv::Mat(0, 0, CV_8UC1), image.origin);
    return Matte(detail::mapPixels(image.pixels, CV_8UC1,
                                   [](const uchar* in, uchar* out, int pixels) {
                                       for (int x = 0; x < pixels; ++x)
                                           out[x] = in[4 * x + 3];
                                   }),
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
                                      const uchar* in = image.pixels.ptr(y);
                                      const uchar* m = mask.ptr(y);
                                      for (int x = 0; x < image.width(); ++x)
                                          for (int c = 0; c < 4; ++c)
                                              out[4 * x + c] = uchar(detail::div255(in[4 * x + c] * m[x]));
                                  }),
                 image.origin);
}

} // namespace zephrin
