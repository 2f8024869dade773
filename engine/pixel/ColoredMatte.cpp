#include "engine/pixel/ColoredMatte.h"

#include "engine/pixel/PixelRows.h"
#include "engine/pixel/SolidImage.h"
#include "engine/pixel/detail/Div255.h"
#include "engine/pixel/detail/PixelMap.h"

namespace zephrin {

std::array<uchar, 1024> colourRamp(const RGBAColor& color)
{
    const std::array<uchar, 4> pixel = solidPixel(color);
    // The same rounding as masking a solid image by the matte.
    std::array<uchar, 1024> table;
    for (int m = 0; m < 256; ++m)
        for (int c = 0; c < 4; ++c)
            table[size_t(4 * m + c)] = uchar(detail::div255(pixel[size_t(c)] * m));
    return table;
}

Image coloredMatte(const Matte& matte, const RGBAColor& color)
{
    if (matte.empty())
        return Image(cv::Mat(0, 0, CV_8UC4), matte.origin);
    const std::array<uchar, 1024> table = colourRamp(color);
    return Image(detail::mapPixels(matte.pixels, CV_8UC4,
                                   [&](const uchar* in, uchar* out, int pixels) {
                                       pixelRows::lookedUp(in, table.data(), out, pixels);
                                   }),
                 matte.origin);
}

} // namespace zephrin
