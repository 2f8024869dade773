#include "engine/matte/MatteEngine.h"
#include "engine/refine/RefinementSwitches.h"

#include "support/LogCapture.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

// Red subject over the left half whose two outermost columns (28, 29) caught
// the green of the background; green beyond.
Image fringedSource()
{
    cv::Mat rgba(40, 60, CV_8UC4, cv::Scalar(0, 200, 0, 255));
    rgba.colRange(0, 28).setTo(cv::Scalar(200, 0, 0, 255));
    return Image(rgba);
}

MatteBox leftHalfBox(std::optional<RGBAColor> backdrop = std::nullopt)
{
    cv::Mat grey(40, 60, CV_8UC1, cv::Scalar(0));
    grey.colRange(0, 30).setTo(255);
    return MatteBox(Matte(grey), backdrop);
}

// Hard edges, so that the colour checks are not blurred by the matte.
MatteSettings hardEdges(double decontaminate)
{
    MatteSettings settings;
    settings.edgeMode = EdgeRefineMode::contrast;
    settings.feather = 0;
    settings.decontaminate = decontaminate;
    return settings;
}

cv::Vec4b at(const Image& image, int x, int y = 20) { return image.pixels.at<cv::Vec4b>(y, x); }

} // namespace

TEST(ApplyMatteSettings, UsesTheRefinedMatteAsAlpha)
{
    const MatteEngine engine;
    const MatteSettings settings; // the editor's defaults
    const Image cutout = engine.applyMatteSettings(fringedSource(), leftHalfBox(), settings);
    ASSERT_EQ(cutout.extent(), fringedSource().extent());
    const Matte refined = engine.refineEdges(leftHalfBox().image(), settings);
    for (int x = 0; x < 60; ++x)
        ASSERT_EQ(at(cutout, x)[3], refined.pixels.at<uchar>(20, x)) << x;
    EXPECT_EQ(at(cutout, 5), cv::Vec4b(200, 0, 0, 255));
    EXPECT_EQ(at(cutout, 50), cv::Vec4b(0, 0, 0, 0));
}

TEST(Decontaminate, IsOffAtHalfAPercentAndPullsTheFringeInwardAbove)
{
    MatteSettings off = hardEdges(0.5);
    EXPECT_FALSE(decontaminationStrength(off));
    EXPECT_EQ(decontaminationStrength(hardEdges(0.6)), 0.006);
    off.decontaminateEnabled = true;
    MatteSettings disabled = hardEdges(30);
    disabled.decontaminateEnabled = false;

    const MatteEngine engine;
    const Image untouched = engine.applyMatteSettings(fringedSource(), leftHalfBox(), disabled);
    const Image atHalf = engine.applyMatteSettings(fringedSource(), leftHalfBox(), off);
    EXPECT_EQ(cv::norm(untouched.pixels, atHalf.pixels, cv::NORM_INF), 0);

    const Image cleaned = engine.applyMatteSettings(fringedSource(), leftHalfBox(), hardEdges(30));
    EXPECT_EQ(at(untouched, 29), cv::Vec4b(0, 200, 0, 255));
    EXPECT_GT(at(cleaned, 29)[0], 0);
    EXPECT_LT(at(cleaned, 29)[1], 200);
    EXPECT_EQ(at(cleaned, 29)[3], 255);
    // The interior, away from the band, keeps its colour.
    EXPECT_EQ(at(cleaned, 10), at(untouched, 10));
}

TEST(ApplyMatteSettings, UnblendsThePageColourOnlyWhenTheBoxHasOne)
{
    const MatteEngine engine;
    {
        zephrin::testing::LogCapture log;
        engine.applyMatteSettings(fringedSource(), leftHalfBox(), MatteSettings{});
        EXPECT_TRUE(log.linesStartingWith("remove-matte:").isEmpty());
    }
    {
        zephrin::testing::LogCapture log;
        engine.applyMatteSettings(fringedSource(), leftHalfBox(RGBAColor{0, 0.8, 0, 1}), MatteSettings{});
        EXPECT_EQ(log.linesStartingWith("remove-matte:").size(), 1);
    }
}

TEST(ApplyMatteSettings, KeepsTheSourceExtentWhateverTheMatte)
{
    const MatteEngine engine;
    for (cv::Size size : {cv::Size(80, 70), cv::Size(20, 10), cv::Size(0, 0)}) {
        const MatteBox box(Matte::filled(size, 255), RGBAColor{0, 0.8, 0, 1});
        const Image cutout = engine.applyMatteSettings(fringedSource(), box, MatteSettings{});
        EXPECT_EQ(cutout.extent(), fringedSource().extent());
    }
    EXPECT_TRUE(engine.applyMatteSettings(Image(), MatteBox(Matte()), MatteSettings{}).empty());
}
