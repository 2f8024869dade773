#include "engine/matte/MatteEngine.h"
#include "engine/refine/RefinementSwitches.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

const EdgeRefineMode kModes[] = {EdgeRefineMode::smooth, EdgeRefineMode::detail, EdgeRefineMode::contrast};

// Subject over the left half, touching the top, left and bottom borders.
Matte leftHalf()
{
    cv::Mat grey(40, 60, CV_8UC1, cv::Scalar(0));
    grey(cv::Rect(0, 0, 30, 40)).setTo(255);
    return Matte(grey);
}

Matte constant(uchar value) { return Matte::filled({60, 40}, value); }

} // namespace

TEST(RefineEdges, SubjectTouchingTheBorderKeepsFullAlphaAlongIt)
{
    const MatteEngine engine;
    for (EdgeRefineMode mode : kModes)
        for (double feather : {0.0, 0.6, 4.0}) {
            MatteSettings settings;
            settings.edgeMode = mode;
            settings.feather = feather;
            const Matte refined = engine.refineEdges(leftHalf(), settings);
            ASSERT_EQ(refined.extent(), leftHalf().extent());
            for (int y = 0; y < 40; ++y)
                ASSERT_EQ(refined.pixels.at<uchar>(y, 0), 255) << rawValue(mode).toStdString() << " " << feather;
            for (int x = 0; x < 18; ++x) {
                ASSERT_EQ(refined.pixels.at<uchar>(0, x), 255) << rawValue(mode).toStdString() << " " << feather;
                ASSERT_EQ(refined.pixels.at<uchar>(39, x), 255) << rawValue(mode).toStdString() << " " << feather;
            }
            EXPECT_EQ(refined.pixels.at<uchar>(20, 59), 0);
        }
}

TEST(Feather, SkipsAtOneHundredthAndBlursAbove)
{
    MatteSettings settings;
    settings.feather = 0.01;
    EXPECT_FALSE(featherSigma(settings));
    settings.feather = 0.02;
    EXPECT_EQ(featherSigma(settings), 0.02);

    // Visible at a larger feather: the step edge spreads.
    settings.edgeMode = EdgeRefineMode::contrast;
    settings.feather = 0.01;
    const Matte hard = MatteEngine().refineEdges(leftHalf(), settings);
    EXPECT_EQ(hard.pixels.at<uchar>(20, 30), 0);
    settings.feather = 2;
    const Matte soft = MatteEngine().refineEdges(leftHalf(), settings);
    EXPECT_GT(soft.pixels.at<uchar>(20, 30), 0);
    EXPECT_LT(soft.pixels.at<uchar>(20, 29), 255);
}

TEST(RefineEdges, MergesMaskEditsWithEraseWinning)
{
    // Columns: 0–9 erased, 10–19 restored, 20–29 both, 30–39 half erased.
    cv::Mat erase(40, 60, CV_8UC1, cv::Scalar(0));
    cv::Mat restore(40, 60, CV_8UC1, cv::Scalar(0));
    erase.colRange(0, 10).setTo(255);
    restore.colRange(10, 20).setTo(255);
    erase.colRange(20, 30).setTo(255);
    restore.colRange(20, 30).setTo(255);
    erase.colRange(30, 40).setTo(100);
    const MaskEditLayers edits{Matte(erase), Matte(restore)};

    MatteSettings settings;
    settings.edgeMode = EdgeRefineMode::contrast;
    settings.feather = 0;
    const MatteEngine engine;
    const Matte onBlack = engine.refineEdges(constant(0), settings, edits);
    const Matte onWhite = engine.refineEdges(constant(255), settings, edits);
    EXPECT_EQ(onWhite.pixels.at<uchar>(5, 5), 0);
    EXPECT_EQ(onBlack.pixels.at<uchar>(5, 15), 255);
    EXPECT_EQ(onWhite.pixels.at<uchar>(5, 25), 0);
    EXPECT_EQ(onWhite.pixels.at<uchar>(5, 35), 155);
    EXPECT_EQ(onWhite.pixels.at<uchar>(5, 50), 255);
    EXPECT_EQ(onBlack.pixels.at<uchar>(5, 50), 0);
}

TEST(RefineEdges, EditLayersOfAnotherSizeTouchNothingBeyondThemselves)
{
    const MaskEditLayers small{Matte::filled({10, 10}, 255), Matte::filled({10, 10}, 0)};
    MatteSettings settings;
    settings.edgeMode = EdgeRefineMode::contrast;
    const Matte refined = MatteEngine().refineEdges(constant(255), settings, small);
    EXPECT_EQ(refined.extent(), constant(255).extent());
    EXPECT_EQ(refined.pixels.at<uchar>(2, 2), 0);
    EXPECT_EQ(refined.pixels.at<uchar>(30, 50), 255);
}
