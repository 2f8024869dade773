#include "engine/matte/CornerPatches.h"

#include <algorithm>

namespace zephrin {

namespace {

RGBAColor meanColor(const cv::Mat& patch)
{
    double sum[3] = {0, 0, 0};
    for (int y = 0; y < patch.rows; ++y) {
        const uchar* p = patch.ptr(y);
        for (int x = 0; x < patch.cols; ++x, p += 4)
            for (int c = 0; c < 3; ++c)
                sum[c] += p[c];
    }
    const double n = 255.0 * patch.total();
    return {sum[0] / n, sum[1] / n, sum[2] / n, 1};
}

} // namespace

std::array<RGBAColor, 4> cornerPatchColors(const cv::Mat& rgba)
{
    CV_Assert(rgba.type() == CV_8UC4);
    if (rgba.empty())
        return {};
    const int w = rgba.cols, h = rgba.rows;
    const int shorter = std::min(w, h);
    const int side = shorter < 66 ? 2 : shorter / 33;
    const int pw = std::min(side, w), ph = std::min(side, h);
    return {
        meanColor(rgba(cv::Rect(0, 0, pw, ph))),
        meanColor(rgba(cv::Rect(w - pw, 0, pw, ph))),
        meanColor(rgba(cv::Rect(0, h - ph, pw, ph))),
        meanColor(rgba(cv::Rect(w - pw, h - ph, pw, ph))),
    };
}

RGBAColor keyColorFromCorners(const std::array<RGBAColor, 4>& corners)
{
    size_t dropped = 0;
    double largest = -1;
    for (size_t i = 0; i < corners.size(); ++i) {
        double sum = 0;
        for (const RGBAColor& other : corners)
            sum += rgbDistance(corners[i], other);
        if (sum > largest) {
            largest = sum;
            dropped = i;
        }
    }
    double sum[3] = {0, 0, 0};
    for (size_t i = 0; i < corners.size(); ++i)
        if (i != dropped) {
            sum[0] += corners[i].r;
            sum[1] += corners[i].g;
            sum[2] += corners[i].b;
        }
    return {sum[0] / 3, sum[1] / 3, sum[2] / 3, 1};
}

} // namespace zephrin
