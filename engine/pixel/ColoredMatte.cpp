#include "engine/pixel/ColoredMatte.h"

#include "engine/pixel/detail/ColourMaps.h"
#include "engine/pixel/detail/Div255.h"
#include "engine/pixel/detail/PixelMap.h"

#include <array>

namespace zephrin {

Image coloredMatte(const Matte& matte, const RGBAColor& color)
{
    if (matte.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), matte.origin);
    uchar pixel[4];
    detail::storePremultiplied(cv::Vec4f(float(color.r), float(color.g), float(color.b), float(color.a)), pixel);
    // The same rounding as masking a solid image by the matte.
    std::array<std::array<uchar, 4>, 256> table;
    for (int m = 0; m < 256; ++m)
        for (int c = 0; c < 4; ++c)
            table[size_t(m)][size_t(c)] = uchar(detail::div255(pixel[c] * m));
    return Image(detail::mapPixels(matte.pixels, CV_8UC4,
                                   [&](const uchar* in, uchar* out, int pixels) {
                                       for (int x = 0; x < pixels; ++x, out += 4) {
                                           const auto& value = table[in[x]];
                                           out[0] = value[0];
                                           out[1] = value[1];
                                           out[2] = value[2];
                                           out[3] = value[3];
                                       }
                                   }),
                 matte.origin);
}

} // namespace zephrin
