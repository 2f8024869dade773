#include "content/backdrops/Backdrop.h"
#include "content/backdrops/BackdropStyleDrawing.h"

#include "support/PixelChecks.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <limits>

namespace zephrin {
namespace {

const Backdrop& preset(const char* id)
{
    for (const Backdrop& backdrop : Backdrop::presets())
        if (backdrop.id == QLatin1String(id))
            return backdrop;
    throw std::logic_error("no such preset");
}

// Mean colour (0 to 255, r g b) of a block of the image, rows from the top.
cv::Scalar meanOf(const Image& image, cv::Rect block)
{
    return cv::mean(image.pixels(block));
}

double luminance(const cv::Scalar& c) { return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]; }

TEST(BackdropRender, TruncatesTheSizeWithAMinimumOfEight)
{
    const Backdrop& white = preset("studio-white");
    const auto tiny = white.render(4, 4);
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->size(), cv::Size(8, 8));
    const auto odd = white.render(301.9, 99.5);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->size(), cv::Size(301, 99));
    EXPECT_EQ(odd->origin, cv::Point(0, 0));
}

TEST(BackdropRender, RefusesSizesItCannotMake)
{
    const Backdrop& white = preset("studio-white");
    EXPECT_FALSE(white.render(std::numeric_limits<double>::quiet_NaN(), 100));
    EXPECT_FALSE(white.render(100, std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(white.render(1e9, 100));
    EXPECT_FALSE(white.render(30000, 30000));
}

TEST(BackdropRender, GivesOpaqueIdenticalPixelsEveryTime)
{
    for (const Backdrop& backdrop : Backdrop::presets()) {
        SCOPED_TRACE(backdrop.id.toStdString());
        const auto first = backdrop.render(1800, 900);
        const auto second = backdrop.render(1800, 900);
        ASSERT_TRUE(first && second);
        ASSERT_EQ(first->size(), cv::Size(1800, 900));
        EXPECT_EQ(testing::maxDifference(first->pixels, second->pixels), 0.0);
        cv::Mat alpha;
        cv::extractChannel(first->pixels, alpha, 3);
        EXPECT_EQ(cv::countNonZero(alpha != 255), 0);
    }
}

TEST(BackdropRender, LightsTheStudioCentreAndDarkensItsCorners)
{
    const auto image = preset("studio-charcoal").render(600, 400);
    ASSERT_TRUE(image);
    const double centre = luminance(meanOf(*image, {280, 180, 40, 40}));
    const double corner = luminance(meanOf(*image, {0, 0, 20, 20}));
    EXPECT_GT(centre, corner + 20);
}

TEST(BackdropRender, PutsTheWallAboveTheTableTop)
{
    // Warm Table: a light wall over a darker wooden surface; the horizon sits
    // about 36% up from the bottom.
    const auto image = preset("table-warm").render(400, 400);
    ASSERT_TRUE(image);
    const cv::Scalar wall = meanOf(*image, {150, 60, 100, 20});
    const cv::Scalar table = meanOf(*image, {150, 320, 100, 20});
    EXPECT_GT(luminance(wall), luminance(table) + 40);
}

TEST(BackdropRender, RunsTheGradientFromTopColourToBottomColour)
{
    // Ocean: light sky blue at the top, deep blue at the bottom.
    const auto image = preset("grad-ocean").render(300, 300);
    ASSERT_TRUE(image);
    const cv::Scalar top = meanOf(*image, {0, 0, 40, 10});
    const cv::Scalar bottom = meanOf(*image, {260, 290, 40, 10});
    EXPECT_GT(top[0], 120);
    EXPECT_LT(bottom[0], 60);
}

TEST(BackdropRender, LeavesAnUnmottledTextureFlatUnderItsGrain)
{
    Backdrop flat{"test-flat", "Flat", BackdropCategory::texture, TextureStyle{{0.5, 0.4, 0.3, 1}, 0.05, 0, false, 3}};
    const auto image = flat.render(400, 300);
    ASSERT_TRUE(image);
    cv::Scalar mean, deviation;
    cv::meanStdDev(image->pixels, mean, deviation);
    // Grain of 0.05 mixes mean grey (0.5) in by 5%.
    EXPECT_NEAR(mean[0], (0.5 * 0.95 + 0.5 * 0.05) * 255, 1.5);
    EXPECT_NEAR(mean[2], (0.3 * 0.95 + 0.5 * 0.05) * 255, 1.5);
    EXPECT_GT(deviation[0], 1.0);
    EXPECT_LT(deviation[0], 6.0);
    // No cloudiness: the halves agree.
    EXPECT_NEAR(meanOf(*image, {0, 0, 200, 300})[0], meanOf(*image, {200, 0, 200, 300})[0], 0.5);
}

TEST(BackdropRender, DrawsLightVeinsIntoBlackMarble)
{
    const auto image = preset("tex-marble-black").render(760, 500);
    ASSERT_TRUE(image);
    cv::Mat grey;
    cv::cvtColor(image->pixels, grey, cv::COLOR_RGBA2GRAY);
    const double median = cv::mean(grey)[0];
    EXPECT_LT(median, 60);
    EXPECT_GT(cv::countNonZero(grey > 80), 2000);  // veins of (0.66, 0.62, 0.55)
}

TEST(BackdropRender, ColoursTheBokehCirclesInTurn)
{
    // One colour per circle position: red, green, blue, then red again.
    BokehStyle style{{0, 0, 0, 1}, {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}}, 11};
    BackdropCanvas canvas(400, 400);
    drawBackdropStyle(canvas, style);
    const Image image(canvas.pixels);
    // Every colour took part, and no circle mixed channels on its own.
    const cv::Scalar mean = cv::mean(image.pixels);
    EXPECT_GT(mean[0], 5);
    EXPECT_GT(mean[1], 5);
    EXPECT_GT(mean[2], 5);
    BokehStyle reds = style;
    reds.dots = {{1, 0, 0, 1}};
    BackdropCanvas redCanvas(400, 400);
    drawBackdropStyle(redCanvas, reds);
    const cv::Scalar redMean = cv::mean(redCanvas.pixels);
    EXPECT_GT(redMean[0], mean[0]);
    EXPECT_LT(redMean[1], 2);
}

TEST(BackdropThumbnail, RendersOnceAndServesTheCachedPixels)
{
    const Backdrop& sage = preset("studio-sage");
    const auto first = sage.thumbnail();
    const auto second = sage.thumbnail();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->size(), cv::Size(168, 120));
    EXPECT_EQ(first->pixels.data, second->pixels.data);

    // Every custom backdrop has one id; each colour pair still shows its own look.
    const auto red = Backdrop::custom({1, 0, 0, 1}, {1, 0, 0, 1}, CustomBackdropShape::fade).thumbnail();
    const auto blue = Backdrop::custom({0, 0, 1, 1}, {0, 0, 1, 1}, CustomBackdropShape::fade).thumbnail();
    ASSERT_TRUE(red && blue);
    EXPECT_GT(red->pixels.at<cv::Vec4b>(60, 84)[0], 200);
    EXPECT_GT(blue->pixels.at<cv::Vec4b>(60, 84)[2], 200);
    EXPECT_LT(blue->pixels.at<cv::Vec4b>(60, 84)[0], 50);
}

} // namespace
} // namespace zephrin
