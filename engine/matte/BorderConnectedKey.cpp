#include "engine/matte/BorderConnectedKey.h"

#include "engine/matte/BorderFlood.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace zephrin {

namespace {

// `passes` grow passes with the 3 × 3 cross. Outside the image counts as not
// belonging (dilation's default constant border is the minimum).
cv::Mat grownByCross(const cv::Mat& area, int passes)
{
    static const cv::Mat cross = cv::getStructuringElement(cv::MORPH_CROSS, {3, 3});
    cv::Mat grown;
    cv::dilate(area, grown, cross, {-1, -1}, passes);
    return grown;
}

} // namespace

cv::Mat borderConnectedKey(const SoftColorKey& key, int closeGaps)
{
    const int n = std::min(closeGaps, kMaxGapClosing);

    cv::Mat reached;
    if (n >= 1) {
        // The grown foreground holds every foreground pixel, so the candidates
        // left are exactly its complement.
        cv::Mat foreground, candidates;
        cv::bitwise_not(key.background, foreground);
        cv::bitwise_not(grownByCross(foreground, n), candidates);
        reached = floodFromBorder(candidates);
    } else {
        reached = floodFromBorder(key.background);
    }
    for (int pass = 0; pass < n; ++pass)
        cv::bitwise_and(grownByCross(reached, 1), key.background, reached);

    cv::Mat outside;
    cv::bitwise_not(grownByCross(reached, 1), outside);
    cv::Mat matte;
    cv::bitwise_or(key.matte, outside, matte);
    return matte;
}

} // namespace zephrin
