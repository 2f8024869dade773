#include "engine/bitmap/RGBABitmap.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace zephrin {

cv::Mat RGBABitmap::view() const
{
    return cv::Mat(height, width, CV_8UC4, const_cast<std::uint8_t*>(bytes.data()));
}

std::optional<RGBABitmap> makeBitmap(const Image& image, int maxLongEdge)
{
    if (image.empty() || maxLongEdge <= 0)
        return std::nullopt;
    const int w = image.width();
    const int h = image.height();
    const double scale = std::min(static_cast<double>(maxLongEdge) / std::max(w, h), 1.0);
    const int tw = std::max(1, static_cast<int>(std::round(w * scale)));
    const int th = std::max(1, static_cast<int>(std::round(h * scale)));

    RGBABitmap bitmap{tw, th, std::vector<std::uint8_t>(static_cast<size_t>(tw) * th * 4)};
    cv::Mat target(th, tw, CV_8UC4, bitmap.bytes.data());
    if (tw == w && th == h)
        image.pixels.copyTo(target);
    else
        cv::resize(image.pixels, target, target.size(), 0, 0, cv::INTER_AREA);
    return bitmap;
}

} // namespace zephrin
