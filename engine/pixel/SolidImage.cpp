#include "engine/pixel/SolidImage.h"

#include "engine/pixel/PixelRows.h"
#include "engine/pixel/detail/ColourMaps.h"
#include "engine/pixel/detail/PixelMap.h"

#include <algorithm>

namespace zephrin {

std::array<uchar, 4> solidPixel(const RGBAColor& color)
{
    std::array<uchar, 4> pixel;
    detail::storePremultiplied(cv::Vec4f(float(color.r), float(color.g), float(color.b), float(color.a)),
                               pixel.data());
    return pixel;
}

Image solidImage(const RGBAColor& color, cv::Rect extent)
{
    const std::array<uchar, 4> pixel = solidPixel(color);
    const cv::Size size(std::max(extent.width, 0), std::max(extent.height, 0));
    return Image(detail::fillRows(size, CV_8UC4, [&](int, uchar* out) { pixelRows::filled(pixel, out, size.width); }),
                 extent.tl());
}

} // namespace zephrin
