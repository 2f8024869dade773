// MatteEngine: the subject's alpha, and the bounds of what shows of it.

#include "engine/matte/MatteEngine.h"
#include "engine/matte/MatteGrid.h"
#include "engine/pixel/AreaReduction.h"
#include "engine/pixel/ImageMatte.h"

#include <opencv2/imgproc.hpp>

namespace zephrin {

namespace {

// A pixel counts as content above this alpha.
constexpr uchar kContentAlpha = 8;

// The first and last index along a profile of maxima whose value is content.
std::optional<std::pair<int, int>> contentSpan(const cv::Mat& profile)
{
    const uchar* values = profile.ptr();
    const int count = static_cast<int>(profile.total());
    int first = 0;
    while (first < count && values[first] <= kContentAlpha)
        ++first;
    if (first == count)
        return std::nullopt;
    int last = count - 1;
    while (values[last] <= kContentAlpha)
        --last;
    return std::pair{first, last};
}

} // namespace

Matte MatteEngine::alphaMask(const Image& image) { return alphaMatte(image); }

std::optional<QRectF> MatteEngine::alphaBounds(const Image& image)
{
    if (image.empty())
        return std::nullopt;
    // Trimming costs the same for any size: the scan runs on a copy of at most
    // 512 pixels on its long side, the alpha averaged down (read in place).
    const MatteGrid working = fittedGrid(image.size(), 512);
    const double f = working.factor;
    const cv::Mat alpha = working.size == image.size() ? alphaMatte(image).pixels
                                                       : areaReduced(image.pixels, 3, working.size);

    cv::Mat columns;
    cv::Mat rows;
    cv::reduce(alpha, columns, 0, cv::REDUCE_MAX);
    cv::reduce(alpha, rows, 1, cv::REDUCE_MAX);
    const auto across = contentSpan(columns);
    const auto down = contentSpan(rows);
    if (!across || !down)
        return std::nullopt;
    // Rows are top first, as image space is: no flip.
    const double left = across->first / f;
    const double top = down->first / f;
    return QRectF(image.origin.x + left, image.origin.y + top, (across->second + 1) / f - left,
                  (down->second + 1) / f - top);
}

} // namespace zephrin
