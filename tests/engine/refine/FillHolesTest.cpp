#include "engine/matte/MatteEngine.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <cmath>

using namespace zephrin;

namespace {

// A ring about (50, 50): opaque from radius 20 to 35, a soft ramp outward to
// radius 40, and a soft ramp inward to a hole below radius 15.
Matte ringMatte()
{
    cv::Mat grey(100, 100, CV_8UC1);
    for (int y = 0; y < grey.rows; ++y)
        for (int x = 0; x < grey.cols; ++x) {
            const double d = std::hypot(x + 0.5 - 50, y + 0.5 - 50);
            const double outer = std::clamp((40 - d) / 5, 0.0, 1.0);
            const double inner = std::clamp((d - 15) / 5, 0.0, 1.0);
            grey.at<uchar>(y, x) = uchar(std::lround(255 * std::min(outer, inner)));
        }
    return Matte(grey);
}

// A one-pixel square frame (5 … 14) on black with one pixel of the frame set to `gap`.
Matte frameWithGap(uchar gap)
{
    cv::Mat grey(20, 20, CV_8UC1, cv::Scalar(0));
    cv::rectangle(grey, cv::Rect(5, 5, 10, 10), cv::Scalar(255), 1);
    grey.at<uchar>(9, 5) = gap;
    return Matte(grey);
}

double distanceFromCentre(int x, int y) { return std::hypot(x + 0.5 - 50, y + 0.5 - 50); }

} // namespace

TEST(FillHoles, GivesNothingWithoutAnEnclosedHole)
{
    cv::Mat grey(60, 80, CV_8UC1, cv::Scalar(0));
    cv::circle(grey, {40, 30}, 20, cv::Scalar(255), cv::FILLED, cv::LINE_AA);
    // A bay cut into the disc from its outline is open to the outside.
    cv::rectangle(grey, cv::Rect(38, 30, 4, 30), cv::Scalar(0), cv::FILLED);
    const Matte matte(grey);
    const MatteEngine engine;
    EXPECT_FALSE(engine.fillHoles(matte));

    MatteSettings filled;
    filled.fillHoles = true;
    MatteSettings unfilled = filled;
    unfilled.fillHoles = false;
    EXPECT_EQ(cv::norm(engine.refineEdges(matte, filled).pixels, engine.refineEdges(matte, unfilled).pixels,
                       cv::NORM_INF),
              0);
}

TEST(FillHoles, FillsTheHoleAndItsRimAndKeepsTheSoftOutline)
{
    const Matte ring = ringMatte();
    const auto filled = MatteEngine().fillHoles(ring);
    ASSERT_TRUE(filled);
    ASSERT_EQ(filled->size(), ring.size());
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const uchar before = ring.pixels.at<uchar>(y, x);
            const uchar after = filled->pixels.at<uchar>(y, x);
            if (distanceFromCentre(x, y) < 30)
                ASSERT_EQ(after, 255) << x << ", " << y;
            else
                ASSERT_EQ(after, before) << x << ", " << y;
        }
}

TEST(FillHoles, CountsValue128AsSubjectAnd127AsBackground)
{
    const MatteEngine engine;
    EXPECT_FALSE(engine.fillHoles(frameWithGap(127)));

    // Closed by a soft pixel: the hole fills, and the soft pixel, which borders
    // the outside, keeps its value.
    const auto filled = engine.fillHoles(frameWithGap(128));
    ASSERT_TRUE(filled);
    EXPECT_EQ(cv::countNonZero(filled->pixels(cv::Rect(6, 6, 8, 8)) != 255), 0);
    EXPECT_EQ(filled->pixels.at<uchar>(9, 5), 128);
    EXPECT_EQ(filled->pixels.at<uchar>(0, 0), 0);
    EXPECT_EQ(filled->pixels.at<uchar>(19, 19), 0);
}

TEST(FillHoles, KeepsASoftAreaThatRunsToTheFrame)
{
    // Soft subject filling the frame, opaque inside, with a hole whose soft rim
    // joins the soft band along the frame: the band is the subject's edge.
    cv::Mat grey(40, 40, CV_8UC1, cv::Scalar(200));
    cv::rectangle(grey, cv::Rect(4, 4, 32, 32), cv::Scalar(255), cv::FILLED);
    cv::rectangle(grey, cv::Rect(15, 4, 10, 20), cv::Scalar(200), cv::FILLED);
    cv::rectangle(grey, cv::Rect(17, 15, 6, 6), cv::Scalar(0), cv::FILLED);
    const auto filled = MatteEngine().fillHoles(Matte(grey));
    ASSERT_TRUE(filled);
    EXPECT_EQ(cv::countNonZero(filled->pixels(cv::Rect(17, 15, 6, 6)) != 255), 0);
    EXPECT_EQ(filled->pixels.at<uchar>(0, 0), 200);
    EXPECT_EQ(filled->pixels.at<uchar>(0, 20), 200);
    EXPECT_EQ(filled->pixels.at<uchar>(10, 20), 200);
}
