// MatteEngine::removeMatte: the page colour of a keyed flat backdrop taken back
// out of the soft pixels along the matte's edge.
//
// A soft edge pixel seen over a page is c = α·f + (1 − α)·p, the subject's
// colour f mixed with the page colour p by the matte's coverage α. Solving for
// f gives f = p + (c − p) / α. The floor of α = 0.25 keeps nearly transparent
// pixels from exploding into noise. Only pixels within 2 px (a 5 × 5 square) of
// the background (matte < 12) are touched, and only when their matte lies in
// 12 … 254. Cost: one render of each input, one 5 × 5 dilation and one
// parallel pass; images above 40,000,000 pixels are left alone.

#include "engine/isnet/IsnetLog.h"
#include "engine/matte/MatteEngine.h"

#include "engine/pixel/ClampToExtent.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/ParallelRows.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

namespace zephrin {

namespace {

constexpr std::int64_t kMaxPixels = 40'000'000;
constexpr uchar kBackgroundBelow = 12;
constexpr double kAlphaFloor = 0.25;
// The disk of radius 2√2 holds every offset with |dx|, |dy| ≤ 2: the 5 × 5 square.
const double kSquareReach2 = std::sqrt(8.0);

} // namespace

std::optional<Image> MatteEngine::removeMatte(const Image& source, const Matte& refined,
                                              const RGBAColor& pageColor) const
{
    const cv::Rect extent = source.extent();
    if (extent.width < 1 || extent.height < 1)
        return std::nullopt;
    if (std::int64_t(extent.width) * extent.height > kMaxPixels)
        return std::nullopt;

    cv::Mat rgba = m_context.render(source, extent);
    const cv::Mat matte = m_context.render(clampedToExtent(refined, extent), extent);
    cv::Mat background;
    cv::compare(matte, kBackgroundBelow, background, cv::CmpTypes::CMP_LT);
    const cv::Mat near = morphologyMaximum(Matte(background), kSquareReach2, EdgeMode::clamp).pixels;

    const double page[3] = {std::clamp(pageColor.r, 0.0, 1.0), std::clamp(pageColor.g, 0.0, 1.0),
                            std::clamp(pageColor.b, 0.0, 1.0)};
    std::atomic<long> count{0};
    parallelRows(rgba.rows, rgba.cols, [&](int firstRow, int endRow) {
        long changed = 0;
        for (int y = firstRow; y < endRow; ++y) {
            uchar* pixel = rgba.ptr(y);
            const uchar* m = matte.ptr(y);
            const uchar* isNear = near.ptr(y);
            for (int x = 0; x < rgba.cols; ++x, pixel += 4) {
                if (!isNear[x] || m[x] < kBackgroundBelow || m[x] == 255)
                    continue;
                const double alpha = std::max(m[x] / 255.0, kAlphaFloor);
                for (int c = 0; c < 3; ++c) {
                    const double unblended = page[c] + (pixel[c] / 255.0 - page[c]) / alpha;
                    const long byte = unblended < 0 ? 0 : std::lround(std::min(unblended, 1.0) * 255);
                    // A premultiplied channel never exceeds its alpha; for the
                    // opaque photos this runs on that changes nothing.
                    pixel[c] = uchar(std::min<long>(byte, pixel[3]));
                }
                ++changed;
            }
        }
        count += changed;
    });

    qCInfo(isnetLog).noquote() << QString::asprintf("remove-matte: %ld edge pixels un-blended from page color",
                                                    count.load());
    return Image(rgba, extent.tl());
}

} // namespace zephrin
