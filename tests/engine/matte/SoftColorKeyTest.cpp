#include "engine/matte/SoftColorKey.h"
#include "engine/matte/SoftKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zephrin;

namespace {

// The ramp as written: distance, thresholds, rounding half away from zero.
int rampByte(const cv::Vec4b& pixel, const RGBAColor& key, double tolerance)
{
    const double t = (tolerance / 100) * 0.58 + 0.02;
    const double soft = 0.35 * t;
    const double low = t - soft, high = t + soft;
    const double dr = pixel[0] / 255.0 - key.r, dg = pixel[1] / 255.0 - key.g, db = pixel[2] / 255.0 - key.b;
    const double d = std::sqrt(dr * dr + dg * dg + db * db);
    const double a = d <= low ? 0 : d >= high ? 1 : (d - low) / (2 * soft);
    return static_cast<int>(std::clamp(std::round(a * 255), 0.0, 255.0));
}

} // namespace

TEST(SoftColorKey, EqualsTheRampAsWrittenForEveryPixel)
{
    // Pixels spread around the key, many of them near the ramp's ends; an odd
    // width so that the rows end in a partial group of sixteen.
    cv::RNG rng(31);
    for (double tolerance : {0.0, 7.5, 25.0, 61.0, 100.0}) {
        const RGBAColor key{rng.uniform(0.0, 1.0), rng.uniform(0.0, 1.0), rng.uniform(0.0, 1.0), 1};
        cv::Mat pixels(37, 203, CV_8UC4);
        for (int y = 0; y < pixels.rows; ++y)
            for (int x = 0; x < pixels.cols; ++x) {
                const int spread = 1 + rng.uniform(0, 80);
                cv::Vec4b& p = pixels.at<cv::Vec4b>(y, x);
                p[0] = cv::saturate_cast<uchar>(key.r * 255 + rng.uniform(-spread, spread + 1));
                p[1] = cv::saturate_cast<uchar>(key.g * 255 + rng.uniform(-spread, spread + 1));
                p[2] = cv::saturate_cast<uchar>(key.b * 255 + rng.uniform(-spread, spread + 1));
                p[3] = static_cast<uchar>(rng.uniform(0, 256)); // alpha plays no part
            }
        const cv::Mat matte = softColorKey(pixels, key, tolerance);
        int mismatches = 0, ramp = 0;
        for (int y = 0; y < pixels.rows; ++y)
            for (int x = 0; x < pixels.cols; ++x) {
                const int expected = rampByte(pixels.at<cv::Vec4b>(y, x), key, tolerance);
                mismatches += matte.at<uchar>(y, x) != expected;
                ramp += expected > 0 && expected < 255;
            }
        EXPECT_EQ(mismatches, 0) << "tolerance " << tolerance;
        EXPECT_GT(ramp, 50) << "tolerance " << tolerance; // the sample reaches the ramp
    }
}

TEST(SoftColorKey, ToleratesKeysOutsideTheUnitRange)
{
    const cv::Mat pixels(3, 20, CV_8UC4, cv::Scalar(255, 0, 0, 255));
    const cv::Mat far = softColorKey(pixels, RGBAColor{40, -3, 0, 1}, 25);
    EXPECT_EQ(cv::countNonZero(far != 255), 0);
    const cv::Mat nan = softColorKey(pixels, RGBAColor{1, std::nan(""), 0, 1}, 25);
    EXPECT_EQ(cv::countNonZero(nan != 0), 0); // the missing channel counts as 0
}

TEST(SoftKey, TellsBackdropWithoutTheRootExactlyAsTheByteDoes)
{
    // Every colour of a cube around the key, wide enough to cross the middle
    // of each ramp; the middle's own distance lies between two bytes' ramps.
    cv::RNG rng(5);
    for (double tolerance : {0.0, 12.0, 25.0}) {
        const RGBAColor key{rng.uniform(0.2, 0.8), rng.uniform(0.2, 0.8), rng.uniform(0.2, 0.8), 1};
        const KeyRamp own = KeyRamp::forTolerance(tolerance);
        const SoftKey soft(key, own);
        // A ramp moved towards the tolerance gives the bytes; the backdrop
        // stays the tolerance's own.
        const KeyRamp moved{own.low + own.width / 3, own.width * 2 / 3};
        const SoftKey split(key, moved, own);
        const SoftKey movedAlone(key, moved);
        int mismatches = 0, backdrop = 0, splitMismatches = 0, movedBackdrop = 0;
        for (int dr = -45; dr <= 45; ++dr)
            for (int dg = -45; dg <= 45; ++dg)
                for (int db = -45; db <= 45; ++db) {
                    const uchar pixel[4] = {cv::saturate_cast<uchar>(key.r * 255 + dr),
                                            cv::saturate_cast<uchar>(key.g * 255 + dg),
                                            cv::saturate_cast<uchar>(key.b * 255 + db), 255};
                    mismatches += soft.isBackdrop(pixel) != (soft.byte(pixel) < kBackdropBelow);
                    backdrop += soft.isBackdrop(pixel);
                    splitMismatches += split.isBackdrop(pixel) != soft.isBackdrop(pixel)
                                       || split.byte(pixel) != movedAlone.byte(pixel);
                    movedBackdrop += movedAlone.isBackdrop(pixel);
                }
        EXPECT_EQ(mismatches, 0) << "tolerance " << tolerance;
        EXPECT_EQ(splitMismatches, 0) << "tolerance " << tolerance;
        EXPECT_GT(movedBackdrop, backdrop) << "tolerance " << tolerance; // the moved ramp alone takes more
        EXPECT_GT(backdrop, 0) << "tolerance " << tolerance;
    }
}
