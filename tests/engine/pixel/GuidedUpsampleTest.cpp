#include "engine/pixel/GuidedUpsample.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

// A guide whose left part (x < edge) is dark and the rest light, at `origin`.
Image steppedGuide(cv::Size size, int edge, cv::Point origin = {0, 0})
{
    cv::Mat pixels(size, CV_8UC4, cv::Scalar(230, 220, 210, 255));
    pixels(cv::Rect(0, 0, edge, size.height)).setTo(cv::Scalar(30, 40, 50, 255));
    return Image(pixels, origin);
}

} // namespace

TEST(GuidedUpsample, SnapsACoarseEdgeToTheGuidesEdge)
{
    // The low-resolution matte marks the left 3 of 10 columns; at full size the
    // guide's step lies at x = 307, which the coarse matte only approximates.
    cv::Mat low(8, 10, CV_8UC1, cv::Scalar(0));
    low(cv::Rect(0, 0, 3, 8)).setTo(255);
    const Image guide = steppedGuide({1000, 800}, 307, {40, -20});
    const Matte full = guidedUpsample(Matte(low), guide, 2, 1e-3);

    ASSERT_EQ(full.size(), guide.size());
    EXPECT_EQ(full.origin, guide.origin);
    for (int y : {0, 400, 799}) {
        EXPECT_GT(full.pixels.at<uchar>(y, 300), 200) << y;
        EXPECT_LT(full.pixels.at<uchar>(y, 314), 55) << y;
        EXPECT_GT(full.pixels.at<uchar>(y, 150), 240) << y;
        EXPECT_LT(full.pixels.at<uchar>(y, 700), 15) << y;
    }
}

TEST(GuidedUpsample, SmoothsWhereTheGuideIsFlatAndKeepsConstantsConstant)
{
    const Image flat(cv::Mat(200, 300, CV_8UC4, cv::Scalar(90, 90, 90, 255)));
    const Matte white = guidedUpsample(Matte::filled({15, 10}, 255), flat, 3, 1e-3);
    EXPECT_EQ(cv::countNonZero(white.pixels != 255), 0);

    cv::Mat half(10, 15, CV_8UC1, cv::Scalar(0));
    half(cv::Rect(0, 0, 7, 10)).setTo(255);
    const Matte soft = guidedUpsample(Matte(half), flat, 3, 1e-3);
    // No guide edge to follow: a ramp, monotonic across the step.
    const cv::Mat row = soft.pixels.row(100);
    for (int x = 1; x < row.cols; ++x)
        EXPECT_LE(row.at<uchar>(x), row.at<uchar>(x - 1)) << x;
    EXPECT_GT(row.at<uchar>(0), 200);
    EXPECT_LT(row.at<uchar>(299), 55);
}

TEST(GuidedUpsample, GivesAnEmptyMatteForEmptyInput)
{
    EXPECT_TRUE(guidedUpsample(Matte(), steppedGuide({10, 10}, 5), 2, 1e-3).empty());
    EXPECT_TRUE(guidedUpsample(Matte::filled({4, 4}, 255), Image(), 2, 1e-3).empty());
}
