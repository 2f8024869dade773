#include "engine/pixel/Premultiply.h"

#include "engine/pixel/ChannelTable.h"

#include <array>

namespace zephrin {

namespace {

// Both conversions through a 64 KiB table indexed by (alpha, channel).
using ChannelTable = std::array<uchar, 256 * 256>;

template <uchar (*convert)(uchar, uchar)>
const ChannelTable& tableOf()
{
    static const ChannelTable table = [] {
        ChannelTable t{};
        for (int alpha = 0; alpha < 256; ++alpha)
            for (int channel = 0; channel < 256; ++channel)
                t[size_t(alpha) * 256 + size_t(channel)] = convert(uchar(channel), uchar(alpha));
        return t;
    }();
    return table;
}

} // namespace

cv::Mat unpremultiplied(const Image& image)
{
    return mapThroughChannelTable(image.pixels, tableOf<unpremultiplyChannel>().data());
}

void unpremultiplyRow(const uchar* premultiplied, uchar* straight, int pixels)
{
    mapRowThroughChannelTable(premultiplied, straight, pixels, tableOf<unpremultiplyChannel>().data());
}

void premultiplyRow(const uchar* straight, uchar* premultiplied, int pixels)
{
    mapRowThroughChannelTable(straight, premultiplied, pixels, tableOf<premultiplyChannel>().data());
}

Image premultiplied(const cv::Mat& straightRGBA, cv::Point origin)
{
    return Image(mapThroughChannelTable(straightRGBA, tableOf<premultiplyChannel>().data()), origin);
}

} // namespace zephrin
