#include "engine/matte/MatteEngine.h"
#include "engine/matte/SubjectLift.h"
#include "engine/types/MatteError.h"

#include "support/Scenes.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <limits>

using namespace zephrin;
namespace support = zephrin::testing;

namespace {

// The subject lift's matte of the image, or nullopt when it reports nothing found.
std::optional<MatteBox> lift(const Image& image, std::optional<QRectF> region = std::nullopt)
{
    const MatteEngine engine;
    try {
        return engine.visionSubjectMask(image, region);
    } catch (const MatteError& error) {
        EXPECT_EQ(error.kind(), MatteErrorKind::noSubjectFound);
        return std::nullopt;
    }
}

void checkFinds(const support::Scene& scene, double leastOverlap)
{
    const std::optional<MatteBox> box = lift(scene.image);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->image().size(), scene.image.size());
    EXPECT_EQ(box->image().origin, cv::Point(0, 0));
    EXPECT_FALSE(box->backdropColor);
    EXPECT_FALSE(box->sceneFallback);
    EXPECT_GE(support::intersectionOverUnion(box->image().pixels, scene.shape), leastOverlap);
}

Image opaqueImage(cv::Size size, cv::Scalar colour)
{
    return Image(cv::Mat(size, CV_8UC4, colour));
}

} // namespace

TEST(SubjectLift, FindsADarkObjectOnAnUnevenlyLitTexture)
{
    checkFinds(support::darkObjectOnTexture({1200, 900}, 3), 0.9);
    checkFinds(support::darkObjectOnTexture({4000, 3000}, 4), 0.9);
}

TEST(SubjectLift, KeepsASubjectThatTheFrameCuts)
{
    for (std::uint64_t seed : {1, 2})
        checkFinds(support::bustCutByTheFrame({1200, 900}, seed), 0.9);
}

TEST(SubjectLift, FindsAnObjectOnAFlatPage) { checkFinds(support::objectOnFlatPage({900, 900}, 5), 0.9); }

TEST(SubjectLift, SearchesOnlyInsideTheRegion)
{
    const support::TwoSubjects two = support::darkObjectAndBlueDisc({1200, 900}, 9);
    const support::Scene& scene = two.scene;
    const cv::Rect& area = two.aroundDisc;
    const std::optional<MatteBox> box = lift(scene.image, QRectF(area.x, area.y, area.width, area.height));
    ASSERT_TRUE(box);
    const cv::Mat& matte = box->image().pixels;
    ASSERT_EQ(matte.size(), scene.image.size());
    cv::Mat outside(matte.size(), CV_8UC1, cv::Scalar(255));
    outside(area).setTo(0);
    EXPECT_EQ(cv::countNonZero(matte & outside), 0);
    EXPECT_GE(support::intersectionOverUnion(matte, two.disc), 0.9);

    // A region that misses the image is no region: the whole image is searched.
    const std::optional<MatteBox> missed = lift(scene.image, QRectF(5000, 5000, 10, 10));
    ASSERT_TRUE(missed);
    EXPECT_GT(cv::countNonZero((missed->image().pixels > 127) & scene.shape), 0.9 * cv::countNonZero(scene.shape));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(lift(scene.image, QRectF(nan, 0, 10, 10)));
}

TEST(SubjectLift, FindsNothingWhereNothingStandsOut)
{
    EXPECT_FALSE(lift(opaqueImage({800, 600}, {128, 128, 128, 255})));

    cv::Mat gradient(600, 800, CV_8UC4);
    for (int y = 0; y < gradient.rows; ++y)
        for (int x = 0; x < gradient.cols; ++x)
            gradient.at<cv::Vec4b>(y, x) = cv::Vec4b(uchar(x * 255 / 800), 100, uchar(y * 255 / 600), 255);
    EXPECT_FALSE(lift(Image(gradient)));

    cv::Mat noise(600, 800, CV_8UC4);
    cv::RNG(3).fill(noise, cv::RNG::UNIFORM, 0, 256);
    noise.reshape(1, 600 * 800).col(3).setTo(255);
    EXPECT_FALSE(lift(Image(noise)));

    // A thin frame round one colour: the "subject" would be almost everything.
    Image framed = opaqueImage({800, 600}, {200, 30, 30, 255});
    framed.pixels(cv::Rect(8, 8, 784, 584)).setTo(cv::Scalar(30, 200, 30, 255));
    EXPECT_FALSE(lift(framed));
}

TEST(SubjectLift, ReadsTransparencyAsBackground)
{
    EXPECT_FALSE(lift(Image::transparent({640, 480})));

    // A cutout: an opaque disc on a transparent canvas comes back as the disc.
    Image cutout = Image::transparent({640, 480});
    cv::Mat disc(cutout.size(), CV_8UC1, cv::Scalar(0));
    cv::circle(disc, {300, 240}, 150, cv::Scalar(255), cv::FILLED);
    cutout.pixels.setTo(cv::Scalar(200, 120, 40, 255), disc);
    const std::optional<MatteBox> box = lift(cutout);
    ASSERT_TRUE(box);
    EXPECT_GE(support::intersectionOverUnion(box->image().pixels, disc), 0.95);
    EXPECT_EQ(cv::countNonZero(box->image().pixels & (disc == 0)), 0);
}

TEST(SubjectLift, SurvivesDegenerateImages)
{
    EXPECT_FALSE(lift(Image()));
    EXPECT_FALSE(lift(opaqueImage({1, 1}, {10, 20, 30, 255})));
    EXPECT_FALSE(lift(opaqueImage({1, 1}, {10, 20, 30, 255}), QRectF(0, 0, 1, 1)));

    Image strip = opaqueImage({20000, 50}, {230, 230, 230, 255});
    strip.pixels(cv::Rect(9000, 10, 2000, 30)).setTo(cv::Scalar(20, 20, 120, 255));
    if (const std::optional<MatteBox> box = lift(strip)) {
        EXPECT_EQ(box->image().size(), strip.size());
    }
}
