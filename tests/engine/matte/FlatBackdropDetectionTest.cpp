#include "engine/matte/MatteEngine.h"
#include "support/LogCapture.h"
#include "support/OpaqueScenes.h"
#include "support/ProductShot.h"
#include "support/Scenes.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <QRegularExpression>

using namespace zephrin;
using zephrin::testing::LogCapture;
using zephrin::testing::opaqueImage;
using zephrin::testing::paintRect;

TEST(DetectFlatBackdrop, FindsTheSheetUnderAProduct)
{
    // A slightly grainy white sheet; a product in the middle covers half the frame.
    Image image = opaqueImage(640, 480, {0, 0, 0});
    cv::Mat grain(480, 640, CV_8UC4);
    cv::RNG(7).fill(grain, cv::RNG::UNIFORM, cv::Scalar(240, 240, 240, 255), cv::Scalar(251, 251, 251, 256));
    grain.copyTo(image.pixels);
    paintRect(image, {80, 80, 480, 320}, {150, 40, 30});

    const MatteEngine engine;
    LogCapture log;
    const auto backdrop = engine.detectFlatBackdrop(image, 0.15, 0.06);
    ASSERT_TRUE(backdrop);
    EXPECT_DOUBLE_EQ(backdrop->fraction, 0.5);
    EXPECT_NEAR(backdrop->color.r, 245 / 255.0, 0.01);
    EXPECT_NEAR(backdrop->color.g, 245 / 255.0, 0.01);
    EXPECT_EQ(backdrop->color.a, 1);
    EXPECT_LT(backdrop->sigma, 0.06);
    EXPECT_GT(backdrop->sigma, 0.0);

    // The matte is the keyed sheet at full size.
    ASSERT_EQ(backdrop->matte.size(), cv::Size(640, 480));
    EXPECT_EQ(backdrop->matte.pixels.at<uchar>(240, 600), 0);
    EXPECT_EQ(backdrop->matte.pixels.at<uchar>(20, 20), 0);
    EXPECT_EQ(backdrop->matte.pixels.at<uchar>(240, 320), 255);

    const QStringList lines = log.linesStartingWith("flat backdrop: ");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("flat backdrop: 50% of the image; σ=")));
    EXPECT_TRUE(lines[0].contains(QRegularExpression(QStringLiteral("‰; page color sRGB \\(24\\d, 24\\d, 24\\d\\)$"))))
        << lines[0].toStdString();
}

TEST(DetectFlatBackdrop, FindsTheSheetOfAProductShot)
{
    // Uneven light, grain, a soft shadow and a busy product.
    const Image image = zephrin::testing::productOnSheet({900, 700}, 11);
    const auto backdrop = MatteEngine().detectFlatBackdrop(image, 0.15, 0.06);
    ASSERT_TRUE(backdrop);
    EXPECT_NEAR(backdrop->color.r, 241 / 255.0, 0.02);
    EXPECT_NEAR(backdrop->color.b, 231 / 255.0, 0.02);
    EXPECT_GT(backdrop->fraction, 0.5);
    EXPECT_LT(backdrop->fraction, 0.8);
    EXPECT_EQ(backdrop->matte.pixels.at<uchar>(5, 5), 0);
    EXPECT_EQ(backdrop->matte.pixels.at<uchar>(350, 450), 255);
}

TEST(DetectFlatBackdrop, LeavesAPaleSubjectOnGrainyPaperOut)
{
    // A grey-225 disc on grey-250 paper, just past the tolerance: however
    // grainy the paper, the disc is neither counted as backdrop nor wiped.
    const MatteEngine engine;
    for (double grain : {3.0, 6.0, 8.0}) {
        SCOPED_TRACE(grain);
        const zephrin::testing::Scene page = zephrin::testing::greyDiscOnGrainyPaper(250, 225, grain);
        const auto backdrop = engine.detectFlatBackdrop(page.image, 0.15, 0.06);
        ASSERT_TRUE(backdrop);
        const double discShare = double(cv::countNonZero(page.shape)) / double(page.shape.total());
        EXPECT_NEAR(backdrop->fraction, 1 - discShare, 0.02);
        cv::Mat inside;
        cv::erode(page.shape, inside, cv::getStructuringElement(cv::MORPH_ELLIPSE, {21, 21}));
        EXPECT_GE(cv::mean(backdrop->matte.pixels, inside)[0], 250);
    }
}

TEST(DetectFlatBackdrop, AcceptsAtMostNinetyEightPercent)
{
    // 100 × 50 pixels, one grid cell each (the grid is never coarser than the image
    // below 256 pixels): a subject of 100 pixels leaves exactly 98% keyed.
    const MatteEngine engine;
    Image exact = opaqueImage(100, 50, {255, 255, 255});
    paintRect(exact, {45, 20, 10, 10}, {0, 0, 0});
    const auto accepted = engine.detectFlatBackdrop(exact, 0.15, 0.06);
    ASSERT_TRUE(accepted);
    EXPECT_DOUBLE_EQ(accepted->fraction, 0.98);

    Image smaller = opaqueImage(100, 50, {255, 255, 255});
    paintRect(smaller, {45, 20, 9, 10}, {0, 0, 0});
    EXPECT_FALSE(engine.detectFlatBackdrop(smaller, 0.15, 0.06));

    // Below the minimum fraction.
    Image mostlySubject = opaqueImage(100, 50, {255, 255, 255});
    paintRect(mostlySubject, {5, 5, 90, 40}, {0, 0, 0});
    EXPECT_TRUE(engine.detectFlatBackdrop(mostlySubject, 0.15, 0.06));
    EXPECT_FALSE(engine.detectFlatBackdrop(mostlySubject, 0.5, 0.06));
}

TEST(DetectFlatBackdrop, LogsACandidateThatIsNotFlat)
{
    // 40% of the image is a backdrop of grey 128 striped with ±18 in red: σ = 18/255.
    Image image = opaqueImage(200, 100, {0, 0, 0});
    for (int x = 0; x < 80; ++x)
        paintRect(image, {x, 0, 1, 100}, {x % 2 ? 110.0 : 146.0, 128, 128});

    const MatteEngine engine;
    LogCapture log;
    EXPECT_FALSE(engine.detectFlatBackdrop(image, 0.15, 0.06, RGBAColor{128 / 255.0, 128 / 255.0, 128 / 255.0, 1}));
    const QStringList lines = log.linesStartingWith("flat candidate rejected: ");
    ASSERT_EQ(lines.size(), 1);
    // The mean of 128 may come out as 127.99…, truncated to 127.
    EXPECT_TRUE(lines[0].contains(QRegularExpression(QStringLiteral(
        "^flat candidate rejected: 40% of the image but not flat \\(σ=70‰, mean sRGB \\(12[78], 12[78], 12[78]\\)\\)$"))))
        << lines[0].toStdString();
    EXPECT_TRUE(log.linesStartingWith("flat backdrop: ").isEmpty());

    // The same candidate passes a looser evenness limit.
    EXPECT_TRUE(engine.detectFlatBackdrop(image, 0.15, 0.08, RGBAColor{128 / 255.0, 128 / 255.0, 128 / 255.0, 1}));
}

TEST(DetectFlatBackdrop, MeasuresLargeImagesOnAGrid)
{
    // 3000 × 2000: grid cells of 23 pixels, 130 × 86 of them.
    Image image = opaqueImage(3000, 2000, {230, 235, 240});
    cv::ellipse(image.pixels, {1500, 1000}, {900, 700}, 0, 0, 360, cv::Scalar(40, 90, 20, 255), -1);
    const auto backdrop = MatteEngine().detectFlatBackdrop(image, 0.15, 0.06);
    ASSERT_TRUE(backdrop);
    const double ellipseShare = CV_PI * 900 * 700 / (3000.0 * 2000);
    EXPECT_NEAR(backdrop->fraction, 1 - ellipseShare, 0.01);
    // Cells at the subject's edge sample a little of its colour.
    EXPECT_NEAR(backdrop->color.b, 240 / 255.0, 0.002);
    EXPECT_EQ(backdrop->matte.size(), cv::Size(3000, 2000));
}

TEST(DetectFlatBackdrop, FindsNothingInDegenerateImages)
{
    const MatteEngine engine;
    LogCapture log;
    EXPECT_FALSE(engine.detectFlatBackdrop(Image(), 0.15, 0.06));
    EXPECT_FALSE(engine.detectFlatBackdrop(opaqueImage(1, 1, {255, 255, 255}), 0.15, 0.06));
    EXPECT_FALSE(engine.detectFlatBackdrop(Image::transparent({40, 30}), 0.15, 0.06));
    // No cell keyed: the key colour is nowhere.
    EXPECT_FALSE(engine.detectFlatBackdrop(opaqueImage(40, 30, {0, 0, 0}), 0.0, 0.06, RGBAColor{1, 1, 1, 1}));
    EXPECT_TRUE(log.lines().isEmpty());

    // A very long strip: a grid of 128 × 1 cells.
    Image strip = opaqueImage(20000, 50, {250, 250, 250});
    paintRect(strip, {9000, 10, 2000, 30}, {0, 0, 0});
    const auto backdrop = engine.detectFlatBackdrop(strip, 0.15, 0.06);
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->matte.pixels.at<uchar>(25, 10000), 255);
    EXPECT_EQ(backdrop->matte.pixels.at<uchar>(25, 100), 0);
}
