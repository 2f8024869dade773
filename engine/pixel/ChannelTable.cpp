#include "engine/pixel/ChannelTable.h"

#include "engine/pixel/detail/PixelMap.h"

namespace zephrin {

void mapRowThroughChannelTable(const uchar* in, uchar* out, int pixels, const uchar* table)
{
    for (int x = 0; x < pixels; ++x, in += 4, out += 4) {
        const uchar* row = table + size_t(in[3]) * 256;
        out[0] = row[in[0]];
        out[1] = row[in[1]];
        out[2] = row[in[2]];
        out[3] = in[3];
    }
}

cv::Mat mapThroughChannelTable(const cv::Mat& rgba, const uchar* table)
{
    CV_Assert(rgba.empty() || rgba.type() == CV_8UC4);
    return detail::mapPixels(rgba, CV_8UC4, [&](const uchar* in, uchar* out, int pixels) {
        mapRowThroughChannelTable(in, out, pixels, table);
    });
}

} // namespace zephrin
