#include "engine/pixel/Morphology.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

using namespace zephrin;
using zephrin::testing::maxDifference;

namespace {

// The disk of the given radius as an OpenCV structuring element.
cv::Mat diskKernel(double radius)
{
    const int reach = diskReach(radius);
    cv::Mat kernel(2 * reach + 1, 2 * reach + 1, CV_8UC1, cv::Scalar(0));
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            kernel.at<uchar>(dy + reach, dx + reach) = dx * dx + dy * dy <= radius * radius ? 1 : 0;
    return kernel;
}

// Our morphology in clamp mode against OpenCV's with the same disk (slow, exact).
void checkAgainstOpenCV(const cv::Mat& pixels, double radius)
{
    cv::Mat dilated, eroded;
    cv::dilate(pixels, dilated, diskKernel(radius), {-1, -1}, 1, cv::BORDER_REPLICATE);
    cv::erode(pixels, eroded, diskKernel(radius), {-1, -1}, 1, cv::BORDER_REPLICATE);
    if (pixels.channels() == 1) {
        EXPECT_EQ(maxDifference(morphologyMaximum(Matte(pixels), radius, EdgeMode::clamp).pixels, dilated), 0);
        EXPECT_EQ(maxDifference(morphologyMinimum(Matte(pixels), radius, EdgeMode::clamp).pixels, eroded), 0);
    } else {
        EXPECT_EQ(maxDifference(morphologyMaximum(Image(pixels), radius, EdgeMode::clamp).pixels, dilated), 0);
        EXPECT_EQ(maxDifference(morphologyMinimum(Image(pixels), radius, EdgeMode::clamp).pixels, eroded), 0);
    }
}

} // namespace

TEST(Morphology, DilatedDotIsADiskOfTheRadius)
{
    for (double radius : {1.0, 1.5, 2.5, 12.0, 12.7}) {
        Matte dot = Matte::filled({41, 41}, 0, {100, 50});
        dot.pixels.at<uchar>(20, 20) = 255;
        const Matte dilated = morphologyMaximum(dot, radius, EdgeMode::transparent);
        const int reach = diskReach(radius);
        ASSERT_EQ(dilated.extent(), cv::Rect(100 - reach, 50 - reach, 41 + 2 * reach, 41 + 2 * reach));
        const cv::Point centre = cv::Point(120, 70) - dilated.origin;
        for (int y = 0; y < dilated.height(); ++y)
            for (int x = 0; x < dilated.width(); ++x) {
                const int dx = x - centre.x, dy = y - centre.y;
                const bool inDisk = dx * dx + dy * dy <= radius * radius;
                ASSERT_EQ(dilated.pixels.at<uchar>(y, x), inDisk ? 255 : 0)
                    << "radius " << radius << " offset (" << dx << ", " << dy << ")";
            }
    }
    // The small disks by pixel count: plus sign, 3 × 3 square, 5 × 5 less its corners.
    Matte dot = Matte::filled({9, 9}, 0);
    dot.pixels.at<uchar>(4, 4) = 255;
    EXPECT_EQ(cv::countNonZero(morphologyMaximum(dot, 1.0, EdgeMode::clamp).pixels), 5);
    EXPECT_EQ(cv::countNonZero(morphologyMaximum(dot, 1.5, EdgeMode::clamp).pixels), 9);
    EXPECT_EQ(cv::countNonZero(morphologyMaximum(dot, 2.5, EdgeMode::clamp).pixels), 21);
}

TEST(Morphology, EqualsOpenCVWithTheSameDisk)
{
    const Matte matte = zephrin::testing::photoLikeMatte({173, 91}, 3);
    const Image image = zephrin::testing::photoLikeImage({67, 45}, 4, true);
    for (double radius : {1.0, 2.5, 7.3, 12.0}) {
        SCOPED_TRACE(radius);
        checkAgainstOpenCV(matte.pixels, radius);
        checkAgainstOpenCV(image.pixels, radius);
    }
}

TEST(Morphology, TransparentMinimumClearsTheBorderBandAndClampKeepsIt)
{
    const Matte full = Matte::filled({30, 20}, 255, {-5, 5});
    const Matte eroded = morphologyMinimum(full, 3.0, EdgeMode::transparent);
    EXPECT_EQ(eroded.extent(), full.extent());
    EXPECT_EQ(cv::countNonZero(eroded.pixels), (30 - 6) * (20 - 6));
    EXPECT_EQ(cv::countNonZero(eroded.pixels(cv::Rect(3, 3, 24, 14)) == 255), 24 * 14);

    const Matte kept = morphologyMinimum(full, 3.0, EdgeMode::clamp);
    EXPECT_EQ(cv::countNonZero(kept.pixels == 255), 30 * 20);
    // A maximum with clamped edges keeps the extent.
    EXPECT_EQ(morphologyMaximum(full, 3.0, EdgeMode::clamp).extent(), full.extent());
}

TEST(Morphology, RadiusBeyondTheImageReachesEveryPixel)
{
    const Matte matte = zephrin::testing::photoLikeMatte({40, 30}, 8);
    double lowest = 0, highest = 0;
    cv::minMaxLoc(matte.pixels, &lowest, &highest);
    EXPECT_EQ(cv::countNonZero(morphologyMaximum(matte, 1e9, EdgeMode::clamp).pixels != highest), 0);
    EXPECT_EQ(cv::countNonZero(morphologyMinimum(matte, 1e9, EdgeMode::clamp).pixels != lowest), 0);
    EXPECT_EQ(cv::countNonZero(morphologyMinimum(matte, 1e9, EdgeMode::transparent).pixels), 0);
}

TEST(Morphology, RadiusBelowOneReturnsTheInput)
{
    const Matte matte = zephrin::testing::photoLikeMatte({20, 10}, 5);
    EXPECT_EQ(diskReach(0.99), 0);
    EXPECT_EQ(morphologyMaximum(matte, 0.99, EdgeMode::transparent).pixels.data, matte.pixels.data);
    EXPECT_EQ(morphologyMinimum(matte, -3, EdgeMode::clamp).pixels.data, matte.pixels.data);
}
