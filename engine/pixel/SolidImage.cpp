#include "engine/pixel/SolidImage.h"

#include "engine/pixel/detail/ColourMaps.h"
#include "engine/pixel/detail/PixelMap.h"

#include <algorithm>

namespace zephrin {

Image solidImage(const RGBAColor& color, cv::Rect extent)
{
    uchar pixel[4];
    detail::storePremultiplied(cv::Vec4f(float(color.r), float(color.g), float(color.b), float(color.a)), pixel);
    const cv::Size size(std::max(extent.width, 0), std::max(extent.height, 0));
    return Image(detail::fillRows(size, CV_8UC4,
                                  [&](int, uchar* out) {
                                      for (int x = 0; x < size.width; ++x, out += 4)
                                          for (int c = 0; c < 4; ++c)
                                              out[c] = pixel[c];
                                  }),
                 extent.tl());
}

} // namespace zephrin
