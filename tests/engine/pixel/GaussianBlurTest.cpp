#include "engine/pixel/ClampToExtent.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <cmath>

using namespace zephrin;
using zephrin::testing::maxDifference;

namespace {

// A 400 × 160 matte, black left of column 120 and white from it on.
Matte stepEdge()
{
    Matte step = Matte::filled({400, 160}, 0);
    step.pixels.colRange(120, 400).setTo(255);
    return step;
}

// The exact blur, in floating point with a kernel of ±4 sigma and repeated edges.
cv::Mat exactBlur(const cv::Mat& pixels, double sigma)
{
    cv::Mat wide, blurred, bytes;
    pixels.convertTo(wide, CV_32F);
    const int kernel = 2 * int(std::ceil(4 * sigma)) + 1;
    cv::GaussianBlur(wide, blurred, cv::Size(kernel, kernel), sigma, sigma, cv::BORDER_REPLICATE);
    blurred.convertTo(bytes, pixels.type());
    return bytes;
}

// The middle row of a blurred step whose edge lies at `edgeColumn`.
void checkStepRow(const Matte& blurred, int edgeColumn, double sigma)
{
    const uchar* values = blurred.pixels.ptr(blurred.height() / 2);
    // The two pixels beside the edge straddle one half.
    EXPECT_NEAR((values[edgeColumn - 1] + values[edgeColumn]) / 2.0, 127.5, 1.0) << "sigma " << sigma;
    // Rising through the edge, up to where the white plateau starts.
    for (int x = 1; x < edgeColumn + 4 * sigma; ++x)
        ASSERT_LE(values[x - 1], values[x]) << "not monotone at " << x << ", sigma " << sigma;
    // Further in, the Gaussian's step response: the step lies half a pixel
    // before the edge column's centre.
    for (const int offset : {1, int(std::lround(sigma)), int(std::lround(2 * sigma))}) {
        const double response = 0.5 * (1 + std::erf((offset + 0.5) / (sigma * std::sqrt(2.0))));
        EXPECT_NEAR(values[edgeColumn + offset], 255 * response, 2.0) << "sigma " << sigma << " offset " << offset;
    }
}

} // namespace

TEST(GaussianBlur, StepEdgeIsHalfAtTheEdgeAndMonotoneInBothEdgeModes)
{
    for (double sigma : {1.5, 5.0, 18.0}) {
        const Matte clamped = gaussianBlur(stepEdge(), sigma, EdgeMode::clamp);
        ASSERT_EQ(clamped.extent(), stepEdge().extent());
        checkStepRow(clamped, 120, sigma);

        const Matte grown = gaussianBlur(stepEdge(), sigma, EdgeMode::transparent);
        const int reach = blurReach(sigma);
        checkStepRow(grown, 120 + reach, sigma);
        // Past the old right border the white fades out: about half on the border
        // pixel, nearly nothing at the new edge.
        const uchar* row = grown.pixels.ptr(grown.height() / 2);
        EXPECT_NEAR(row[reach + 399], 127.5, 255 * 0.14);
        EXPECT_LE(row[grown.width() - 1], 1);
    }
}

TEST(GaussianBlur, ConstantImageStaysConstant)
{
    const Image grey(cv::Mat(37, 53, CV_8UC4, cv::Scalar(90, 120, 30, 255)), {4, -7});
    for (double sigma : {0.6, 3.0, 9.0, 18.0}) {
        const Image clamped = gaussianBlur(grey, sigma, EdgeMode::clamp);
        EXPECT_EQ(clamped.extent(), grey.extent());
        EXPECT_EQ(maxDifference(clamped.pixels, grey.pixels), 0) << "sigma " << sigma;
    }
    // Without clamping only the middle, out of the edge's reach, stays constant.
    const Image grown = gaussianBlur(grey, 2.0, EdgeMode::transparent);
    EXPECT_EQ(grown.pixels.at<cv::Vec4b>(grown.height() / 2, grown.width() / 2), cv::Vec4b(90, 120, 30, 255));
}

TEST(GaussianBlur, TransparentEdgesGrowTheExtentByThreeSigma)
{
    const Image image(cv::Mat(8, 10, CV_8UC4, cv::Scalar::all(255)), {5, -3});
    EXPECT_EQ(blurReach(2.0), 6);
    EXPECT_EQ(blurReach(0.8), 3);
    EXPECT_EQ(gaussianBlur(image, 2.0, EdgeMode::transparent).extent(), cv::Rect(-1, -9, 22, 20));
    EXPECT_EQ(gaussianBlur(image, 18.0, EdgeMode::transparent).extent(), cv::Rect(5 - 54, -3 - 54, 118, 116));
    EXPECT_EQ(gaussianBlur(image, 0.0, EdgeMode::transparent).extent(), image.extent());
    EXPECT_EQ(gaussianBlur(image, std::nan(""), EdgeMode::transparent).pixels.data, image.pixels.data);

    // A large opaque square: its old border pixel is about half covered, its corner a quarter.
    const Image square(cv::Mat(200, 200, CV_8UC4, cv::Scalar::all(255)));
    const Image blurred = gaussianBlur(square, 3.0, EdgeMode::transparent);
    const cv::Point corner = square.origin - blurred.origin;
    EXPECT_NEAR(blurred.pixels.at<cv::Vec4b>(corner.y + 100, corner.x)[3], 255 * 0.5 + 255 * 0.066, 8);
    EXPECT_NEAR(blurred.pixels.at<cv::Vec4b>(corner.y, corner.x)[3], 255 * 0.33, 12);
}

TEST(GaussianBlur, ClampedSubjectTouchingTheFrameGetsNoRim)
{
    const Image subject(cv::Mat(60, 80, CV_8UC4, cv::Scalar(10, 200, 30, 255)));
    const Image blurred = gaussianBlur(subject, 12.0, EdgeMode::clamp);
    cv::Mat alpha;
    cv::extractChannel(blurred.pixels, alpha, 3);
    EXPECT_EQ(cv::countNonZero(alpha != 255), 0);
}

TEST(GaussianBlur, ReducedBlurStaysCloseToTheExactGaussian)
{
    const Matte matte = zephrin::testing::photoLikeMatte({301, 233}, 11);
    const Image image = zephrin::testing::photoLikeImage({301, 233}, 12);
    for (double sigma : {8.0, 12.5, 18.0, 31.0}) {
        const Matte fastMatte = gaussianBlur(matte, sigma, EdgeMode::clamp);
        EXPECT_LE(maxDifference(fastMatte.pixels, exactBlur(matte.pixels, sigma)), 2) << "sigma " << sigma;
        const Image fastImage = gaussianBlur(image, sigma, EdgeMode::clamp);
        const cv::Mat exact = exactBlur(image.pixels, sigma);
        EXPECT_LE(maxDifference(fastImage.pixels, exact), 2) << "sigma " << sigma;
        cv::Mat difference;
        cv::absdiff(fastImage.pixels, exact, difference);
        EXPECT_LT(cv::mean(difference)[0], 0.4) << "sigma " << sigma;
    }
    // Growing mode: the same blur of the image padded with transparency.
    const Image grown = gaussianBlur(image, 18.0, EdgeMode::transparent);
    cv::Mat padded;
    cv::copyMakeBorder(image.pixels, padded, 54, 54, 54, 54, cv::BORDER_CONSTANT, cv::Scalar::all(0));
    EXPECT_LE(maxDifference(grown.pixels, exactBlur(padded, 18.0)), 2);
}

TEST(GaussianBlur, CroppedViewDoesNotReadPixelsOutsideTheCrop)
{
    Image halves = Image::transparent({200, 100});
    halves.pixels.colRange(0, 100).setTo(cv::Scalar::all(255));
    const Image rightHalf = cropped(halves, cv::Rect(100, 0, 100, 100));
    for (double sigma : {2.0, 18.0}) {
        const Image blurred = gaussianBlur(rightHalf, sigma, EdgeMode::clamp);
        EXPECT_EQ(cv::countNonZero(blurred.pixels.reshape(1)), 0) << "sigma " << sigma;
    }
}

// The clamped blur is read straight from the value; it must give the bytes of
// blurring a clamped copy, on either road of the blur and wherever the area
// lies against the value.
TEST(GaussianBlur, ClampedBlurEqualsBlurringAClampedCopy)
{
    const Image image = zephrin::testing::photoLikeImage({90, 70}, 3, true);
    const Image placed(image.pixels, {15, -5});
    const Matte matte = zephrin::testing::photoLikeMatte({90, 70}, 4);
    const cv::Rect areas[] = {{0, 0, 90, 70}, {-40, -30, 200, 150}, {20, 10, 30, 20}, {60, 50, 80, 60}};
    for (const double sigma : {0.0, 1.5, 4.0, 9.0, 26.0}) {
        for (const cv::Rect& area : areas) {
            const Image expected = gaussianBlur(clampedToExtent(placed, area), sigma, EdgeMode::clamp);
            const Image actual = gaussianBlurClamped(placed, area, sigma);
            ASSERT_EQ(actual.extent(), expected.extent());
            EXPECT_EQ(maxDifference(actual.pixels, expected.pixels), 0) << "sigma " << sigma << ", area " << area;
            const Matte expectedMatte = gaussianBlur(clampedToExtent(matte, area), sigma, EdgeMode::clamp);
            EXPECT_EQ(maxDifference(gaussianBlurClamped(matte, area, sigma).pixels, expectedMatte.pixels), 0)
                << "sigma " << sigma << ", area " << area;
        }
    }
    const Image nothing = gaussianBlurClamped(Image(), {3, 4, 20, 10}, 12);
    EXPECT_EQ(nothing.extent(), cv::Rect(3, 4, 20, 10));
    EXPECT_EQ(cv::countNonZero(nothing.pixels.reshape(1)), 0);
}

// A subject's matte is blurred tile by tile where it is flat; the bytes must be
// those of one filter over the whole matte, wherever the shapes meet the tiles
// and the frame.
TEST(GaussianBlur, MostlyFlatMatteGivesTheBytesOfOneFilterOverTheWhole)
{
    Matte shapes = Matte::filled({1400, 1060}, 0);
    cv::ellipse(shapes.pixels, {330, 260}, {250, 200}, 0, 0, 360, cv::Scalar(255), cv::FILLED, cv::LINE_AA);
    cv::rectangle(shapes.pixels, cv::Rect(1300, 0, 100, 140), cv::Scalar(255), cv::FILLED);  // meets the frame
    cv::circle(shapes.pixels, {330, 260}, 60, cv::Scalar(90), cv::FILLED);
    const Matte noisy = zephrin::testing::photoLikeMatte({300, 200}, 9);
    for (const Matte* matte : std::initializer_list<const Matte*>{&shapes, &noisy})
        for (const double sigma : {0.8, 2.5, 4.6, 7.9}) {
            cv::Mat expected;
            const int kernel = 2 * blurReach(sigma) + 1;
            cv::GaussianBlur(matte->pixels, expected, {kernel, kernel}, sigma, sigma,
                             cv::BORDER_REPLICATE | cv::BORDER_ISOLATED);
            EXPECT_EQ(maxDifference(gaussianBlur(*matte, sigma, EdgeMode::clamp).pixels, expected), 0)
                << (matte == &shapes ? "shapes" : "noise") << ", sigma " << sigma;
        }
}

// Tiles of a masked image's blur, filtered together in one mosaic, are the
// tiles of the whole blur: at the frame too, where the edges repeat.
TEST(GaussianBlur, TilesOfAMaskedBlurAreThoseOfTheWholeBlur)
{
    const Image image(zephrin::testing::photoLikeImage({300, 220}, 6).pixels, {-4, 9});
    const Matte mask(zephrin::testing::photoLikeMatte({300, 220}, 7).pixels, {-4, 9});
    const std::vector<cv::Rect> tiles = {{-4, 9, 64, 64}, {100, 80, 64, 50}, {232, 165, 64, 64}, {60, 9, 1, 1}};
    for (const double sigma : {1.0, 4.0, 7.5}) {
        const Image whole = gaussianBlur(maskedBy(image, mask), sigma, EdgeMode::clamp);
        const std::vector<Image> parts = gaussianBlurTiles(image, mask, tiles, sigma);
        ASSERT_EQ(parts.size(), tiles.size());
        for (size_t i = 0; i < tiles.size(); ++i) {
            ASSERT_EQ(parts[i].extent(), tiles[i]);
            EXPECT_EQ(maxDifference(parts[i].pixels, cropped(whole, tiles[i]).pixels), 0)
                << "sigma " << sigma << ", tile " << tiles[i];
        }
    }
}
