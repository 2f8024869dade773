#include "content/backdrops/GrainNoise.h"

#include "content/backdrops/SplitMix64.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>

namespace zephrin {

namespace {

constexpr double kCoarseScale = 1.6;

// Three 21-bit fractions from one mixed 64-bit word of the position.
cv::Vec3f fieldAt(int x, int y)
{
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(y)) << 32)
                            | static_cast<std::uint32_t>(x);
    const std::uint64_t bits = SplitMix64::mix(key * SplitMix64::gamma);
    constexpr float unit = 1.0f / (1 << 21);
    constexpr std::uint64_t mask = (1u << 21) - 1;
    return {static_cast<float>(bits & mask) * unit, static_cast<float>((bits >> 21) & mask) * unit,
            static_cast<float>((bits >> 42) & mask) * unit};
}

cv::Mat field(cv::Rect area, int channels)
{
    cv::Mat values(area.size(), CV_32FC(channels));
    cv::parallel_for_(cv::Range(0, area.height), [&](const cv::Range& rows) {
        for (int y = rows.start; y < rows.end; ++y) {
            auto* row = values.ptr<float>(y);
            for (int x = 0; x < area.width; ++x) {
                const cv::Vec3f value = fieldAt(area.x + x, area.y + y);
                for (int c = 0; c < channels; ++c)
                    row[x * channels + c] = value[c];
            }
        }
    });
    return values;
}

} // namespace

cv::Mat grainNoise(cv::Rect area, std::uint64_t seed, bool coarse, int channels)
{
    const cv::Point shift(static_cast<int>(3 * (seed % 997)), static_cast<int>(3 * (seed % 991)));
    if (!coarse)
        return field(area - shift, channels);

    // Position p of the result samples the field at (p + 0.5) / 1.6 − 0.5.
    const auto fieldCoordinate = [](double p) { return (p + 0.5) / kCoarseScale - 0.5; };
    const int left = static_cast<int>(std::floor(fieldCoordinate(area.x))) - 1;
    const int top = static_cast<int>(std::floor(fieldCoordinate(area.y))) - 1;
    const int right = static_cast<int>(std::ceil(fieldCoordinate(area.x + area.width))) + 1;
    const int bottom = static_cast<int>(std::ceil(fieldCoordinate(area.y + area.height))) + 1;
    const cv::Rect source(left, top, right - left + 1, bottom - top + 1);
    const cv::Mat values = field(source - shift, channels);

    // Result pixel (x, y) of `area` reads the source at this affine position.
    const double scale = 1 / kCoarseScale;
    const cv::Matx23d toSource(scale, 0, fieldCoordinate(area.x) - left, 0, scale,
                               fieldCoordinate(area.y) - top);
    cv::Mat enlarged;
    cv::warpAffine(values, enlarged, toSource, area.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                   cv::BORDER_REPLICATE);
    return enlarged;
}

} // namespace zephrin
