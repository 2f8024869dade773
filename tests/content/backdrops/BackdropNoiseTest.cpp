#include "content/backdrops/BackdropNoise.h"
#include "content/backdrops/GrainNoise.h"
#include "content/backdrops/SplitMix64.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

#include <cmath>

namespace zephrin {
namespace {

TEST(SplitMix64, MatchesTheReferenceSequence)
{
    // The reference generator seeded with state 0 starts with these two words.
    SplitMix64 random(0);
    EXPECT_EQ(random.nextBits(), 0xE220A8397B1DCDAFull);
    EXPECT_EQ(random.nextBits(), 0x6E789E6AA1B965F4ull);
}

TEST(SplitMix64, StartsASeededSequenceAtSeedTimesGamma)
{
    SplitMix64 seeded(11);
    EXPECT_EQ(seeded.nextBits(), SplitMix64::mix(12 * SplitMix64::gamma));
    const double draw = SplitMix64(11).next();
    EXPECT_GE(draw, 0.0);
    EXPECT_LT(draw, 1.0);
}

TEST(BackdropNoise, InterpolatesTheLatticeAndWrapsEvery256Cells)
{
    const BackdropNoise noise(5);
    const auto lattice = BackdropNoise::lattice(5);
    ASSERT_EQ(lattice.size(), 65536u);
    EXPECT_DOUBLE_EQ(noise.value(3, 7), lattice[7 * 256 + 3]);
    EXPECT_DOUBLE_EQ(noise.value(3 + 256, 7 - 512), noise.value(3, 7));
    // Smooth: tiny steps change the value a little.
    EXPECT_NEAR(noise.value(3.5, 7.5), noise.value(3.5001, 7.5), 1e-3);
}

TEST(BackdropNoise, FbmStaysInTheUnitRange)
{
    const BackdropNoise noise(13);
    for (int octaves : {4, 5, 6})
        for (double x = -20; x < 20; x += 0.37) {
            const double v = noise.fbm(x, x * 0.7 + 3, octaves);
            ASSERT_GE(v, 0.0);
            ASSERT_LT(v, 1.0);
        }
}

// Correlation of the red noise with its right-hand neighbour.
double neighbourCorrelation(const cv::Mat& noise)
{
    cv::Mat red;
    cv::extractChannel(noise, red, 0);
    const cv::Mat left = red.colRange(0, red.cols - 1);
    const cv::Mat right = red.colRange(1, red.cols);
    cv::Scalar meanL, sdL, meanR, sdR;
    cv::meanStdDev(left, meanL, sdL);
    cv::meanStdDev(right, meanR, sdR);
    const double covariance = cv::mean((left - meanL[0]).mul(right - meanR[0]))[0];
    return covariance / (sdL[0] * sdR[0]);
}

TEST(GrainNoise, IsFineBelowTheLimitAndCoarseAboveIt)
{
    const cv::Rect area(0, 0, 300, 200);
    EXPECT_LT(std::abs(neighbourCorrelation(grainNoise(area, 1, false))), 0.05);
    EXPECT_GT(neighbourCorrelation(grainNoise(area, 1, true)), 0.3);
}

TEST(GrainNoise, DependsOnlyOnPositionAndSeed)
{
    const cv::Mat whole = grainNoise({0, 0, 64, 64}, 7, false);
    const cv::Mat part = grainNoise({16, 8, 20, 20}, 7, false);
    EXPECT_EQ(cv::norm(whole(cv::Rect(16, 8, 20, 20)), part, cv::NORM_INF), 0.0);
    EXPECT_GT(cv::norm(grainNoise({0, 0, 64, 64}, 8, false), whole, cv::NORM_INF), 0.0);
}

} // namespace
} // namespace zephrin
