#include "engine/matte/SoftColorKey.h"

#include "engine/matte/BorderFlood.h"
#include "engine/matte/ColorSpread.h"
#include "engine/matte/SoftKey.h"
#include "engine/pixel/ParallelRows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace zephrin {

namespace {

double clampedTolerance(double tolerance)
{
    return std::isnan(tolerance) ? 0.0 : std::clamp(tolerance, 0.0, 100.0);
}

// The spread of the backdrop is measured on about this many pixels at most.
constexpr std::int64_t kSpreadSamples = 250'000;
// How many deviations past its mean colour a grainy backdrop reaches.
constexpr double kSpreadDeviations = 3.5;
// The band is widened at most this many times, and no further once it grows
// by less than this.
constexpr int kMostRounds = 8;
constexpr double kSettled = 1e-3;

} // namespace

KeyRamp KeyRamp::forTolerance(double tolerance)
{
    const double t = (clampedTolerance(tolerance) / 100) * 0.58 + 0.02;
    const double soft = 0.35 * t;
    return {t - soft, 2 * soft};
}

KeyRamp backdropRamp(const cv::Mat& rgba, RGBAColor key, double tolerance)
{
    CV_Assert(rgba.type() == CV_8UC4);
    const KeyRamp own = KeyRamp::forTolerance(tolerance);
    key = finiteKey(key);
    const double t = own.low + own.width / 2;
    const std::int64_t pixels = std::int64_t(rgba.rows) * rgba.cols;
    const int step = std::max(1, int(std::ceil(std::sqrt(double(pixels) / double(kSpreadSamples)))));
    const auto sampleRow = [&](int sy) { return rgba.ptr(step / 2 + sy * step); };
    const auto sampleAt = [&](const uchar* row, int sx) { return row + 4 * (step / 2 + sx * step); };

    // Each sample's squared distance from the key, on a grid of its own.
    const SoftKey table(key, own);
    cv::Mat squared((rgba.rows - step / 2 + step - 1) / step, (rgba.cols - step / 2 + step - 1) / step, CV_64FC1);
    for (int sy = 0; sy < squared.rows; ++sy) {
        const uchar* row = sampleRow(sy);
        double* out = squared.ptr<double>(sy);
        for (int sx = 0; sx < squared.cols; ++sx)
            out[sx] = table.squaredDistance(sampleAt(row, sx));
    }
    const std::int64_t samples = std::int64_t(squared.total());
    if (samples == 0)
        return own;

    // The backdrop is the band the ramp keys whole, where it reaches the
    // border. Its spread says where the ramp should begin; when that is
    // further out, the band widens to it and is measured again, until the
    // beginning settles. A subject past the band is never measured.
    const double channels[3] = {key.r, key.g, key.b};
    // How far the spread of the band within `limit` of the key reaches; none
    // when too little of it joins up to the border to be a backdrop.
    const auto reachWithin = [&](double limit) -> std::optional<double> {
        cv::Mat band;
        cv::compare(squared, limit * limit, band, cv::CMP_LE);
        ColorSpread backdrop;
        const RowRuns reached = floodFromBorder(rowRuns(band, [](uchar v) { return v != 0; }), band.cols);
        for (int sy = 0; sy < band.rows; ++sy) {
            const uchar* row = sampleRow(sy);
            for (const Run& run : reached[static_cast<size_t>(sy)])
                for (int sx = run.start; sx < run.end; ++sx)
                    backdrop.add(sampleAt(row, sx));
        }
        if (backdrop.count() < 64 || backdrop.count() * 100 < samples)
            return std::nullopt;
        double offset = 0;
        for (int c = 0; c < 3; ++c)
            offset += (backdrop.mean(c) - channels[c]) * (backdrop.mean(c) - channels[c]);
        return std::min(std::sqrt(offset) + kSpreadDeviations * backdrop.deviation(), t);
    };
    double low = own.low;
    std::optional<double> reach = reachWithin(low);
    // Grain so heavy that little of the paper lies within the ramp's
    // beginning: those samples are specks that do not join up to the border,
    // while the paper within the tolerance does. That band is the widest
    // there is, so its spread is the last word.
    if (!reach)
        low = std::max(own.low, reachWithin(t).value_or(own.low));
    for (int round = 1; reach && *reach > low + kSettled && round < kMostRounds; ++round) {
        low = *reach;
        reach = reachWithin(low);
    }
    if (low == own.low)
        return own;
    return {low, own.high() - low};
}

SoftKey backdropKey(const cv::Mat& rgba, RGBAColor key, double tolerance)
{
    return SoftKey(key, backdropRamp(rgba, key, tolerance), KeyRamp::forTolerance(tolerance));
}

cv::Mat softColorKey(const cv::Mat& rgba, RGBAColor key, double tolerance)
{
    return softColorKey(rgba, key, KeyRamp::forTolerance(tolerance));
}

cv::Mat softColorKey(const cv::Mat& rgba, RGBAColor key, KeyRamp ramp)
{
    CV_Assert(rgba.type() == CV_8UC4);
    const SoftKey table(key, ramp);

    cv::Mat matte(rgba.size(), CV_8UC1);
    parallelRows(rgba.rows, rgba.cols, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* p = rgba.ptr(y);
            uchar* out = matte.ptr(y);
            for (int x = 0; x < rgba.cols; ++x)
                out[x] = table.byte(p + 4 * x);
        }
    });
    return matte;
}

} // namespace zephrin
