#include "engine/matte/BorderConnectedKey.h"
#include "engine/matte/CornerPatches.h"
#include "engine/matte/MatteEngine.h"
#include "engine/matte/SoftColorKey.h"
#include "engine/types/MatteError.h"
#include "support/OpaqueScenes.h"
#include "support/Scenes.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <vector>

using namespace zephrin;
using zephrin::testing::opaqueImage;
using zephrin::testing::paintRect;

namespace {

int at(const MatteBox& box, int x, int y) { return box.image().pixels.at<uchar>(y, x); }

// A one-row image of the given red bytes keyed against black.
std::vector<int> keyedReds(const std::vector<int>& reds, double tolerance)
{
    Image row = opaqueImage(static_cast<int>(reds.size()), 1, {0, 0, 0});
    for (size_t i = 0; i < reds.size(); ++i)
        row.pixels.at<cv::Vec4b>(0, static_cast<int>(i))[0] = static_cast<uchar>(reds[i]);
    const MatteBox box = MatteEngine::flatColorMask(row, tolerance, false, 0, RGBAColor{0, 0, 0, 1});
    std::vector<int> bytes;
    for (size_t i = 0; i < reds.size(); ++i)
        bytes.push_back(at(box, static_cast<int>(i), 0));
    return bytes;
}

} // namespace

TEST(FlatColorMask, RampSpansTheTolerancesThresholds)
{
    // Tolerance 0: keyed up to 0.013, untouched from 0.027 (red 3/255 = 0.0118, 7/255 = 0.0275).
    const auto tight = keyedReds({3, 4, 6, 7}, 0);
    EXPECT_EQ(tight[0], 0);
    EXPECT_GT(tight[1], 0);
    EXPECT_LT(tight[2], 255);
    EXPECT_GT(tight[2], tight[1]);
    EXPECT_EQ(tight[3], 255);

    // Tolerance 100: keyed up to 0.39, untouched from 0.81 (99/255 = 0.388, 207/255 = 0.812).
    const auto loose = keyedReds({99, 100, 206, 207}, 100);
    EXPECT_EQ(loose, (std::vector<int>{0, 1, 254, 255}));

    // Outside 0 to 100 the tolerance is clamped.
    EXPECT_EQ(keyedReds({99, 100, 206, 207}, 250), loose);
}

TEST(FlatColorMask, RampMidpointIsHalfOpaqueAndNotBackdrop)
{
    // A key exactly t = 0.136 from black puts black pixels at ramp value 0.5
    // (at tolerance 20 the arithmetic happens to give exactly 0.5).
    const double t = (20.0 / 100) * 0.58 + 0.02;
    const double soft = 0.35 * t;
    ASSERT_EQ((t - (t - soft)) / (2 * soft), 0.5);
    const RGBAColor key{t, 0, 0, 1};

    // A page of the key colour (red 35, 0.0013 away) with a black ring enclosing
    // a pocket of page colour.
    Image image = opaqueImage(11, 11, {35, 0, 0});
    cv::rectangle(image.pixels, cv::Rect(2, 2, 7, 7), cv::Scalar(0, 0, 0, 255), 1);
    const MatteBox box = MatteEngine::flatColorMask(image, 20, true, 0, key);
    EXPECT_EQ(at(box, 0, 0), 0);
    EXPECT_EQ(at(box, 2, 5), 128); // 127.5 rounds away from zero
    // Were the ring backdrop, the flood would cross it into the pocket.
    EXPECT_EQ(at(box, 5, 5), 255);
}

TEST(FlatColorMask, ConnectedOnlyKeepsEnclosedPageColour)
{
    Image image = opaqueImage(60, 40, {250, 250, 250});
    paintRect(image, {15, 10, 30, 20}, {20, 30, 40});
    paintRect(image, {25, 15, 10, 10}, {250, 250, 250}); // a hole of page colour

    const MatteBox connected = MatteEngine::flatColorMask(image, 25, true, 0);
    EXPECT_EQ(at(connected, 2, 2), 0);
    EXPECT_EQ(at(connected, 20, 12), 255);
    EXPECT_EQ(at(connected, 30, 20), 255);
    EXPECT_EQ(at(connected, 25, 15), 255);

    const MatteBox everywhere = MatteEngine::flatColorMask(image, 25, false, 0);
    EXPECT_EQ(at(everywhere, 30, 20), 0);
    EXPECT_EQ(at(everywhere, 2, 2), 0);
    EXPECT_TRUE(connected.image().origin == cv::Point(0, 0));
    EXPECT_FALSE(connected.backdropColor);
    EXPECT_FALSE(connected.sceneFallback);
}

TEST(FlatColorMask, ClosesGapsUpToTwiceThePassCount)
{
    // A dark frame around a pocket of page colour; its top wall has a gap of
    // columns 80 to 80 + gap − 1.
    const auto framed = [](int gap) {
        Image image = opaqueImage(200, 120, {255, 255, 255});
        cv::rectangle(image.pixels, cv::Rect(40, 20, 121, 81), cv::Scalar(0, 0, 0, 255), 4);
        paintRect(image, {80, 16, gap, 10}, {255, 255, 255});
        return image;
    };
    const auto pocketKeyed = [](const MatteBox& box) { return at(box, 100, 60) == 0; };

    EXPECT_TRUE(pocketKeyed(MatteEngine::flatColorMask(framed(40), 25, true, 0)));
    const MatteBox closed = MatteEngine::flatColorMask(framed(40), 25, true, 20);
    EXPECT_FALSE(pocketKeyed(closed));
    EXPECT_EQ(at(closed, 50, 60), 255);
    // The backdrop held off by the grown subject is given back, through the gap too.
    EXPECT_EQ(at(closed, 10, 10), 0);
    EXPECT_EQ(at(closed, 100, 30), 0);
    EXPECT_EQ(at(closed, 20, 60), 0);

    // One pixel more than twice the passes stays open; 25 passes are 20.
    const MatteBox twenty = MatteEngine::flatColorMask(framed(41), 25, true, 20);
    EXPECT_TRUE(pocketKeyed(twenty));
    const MatteBox capped = MatteEngine::flatColorMask(framed(41), 25, true, 25);
    EXPECT_EQ(cv::countNonZero(capped.image().pixels != twenty.image().pixels), 0);

    EXPECT_TRUE(pocketKeyed(MatteEngine::flatColorMask(framed(30), 25, true, 10)));
    EXPECT_FALSE(pocketKeyed(MatteEngine::flatColorMask(framed(30), 25, true, 15)));
}

// A drawing on textured, unevenly lit paper: the paper is within the
// tolerance everywhere, so it is keyed out whole, inside the shapes too;
// the ink stays, and its edges keep a soft ramp.
TEST(FlatColorMask, KeysATexturedPageWholeAndKeepsSoftEdges)
{
    for (std::uint64_t seed : {4u, 9u}) {
        SCOPED_TRACE(seed);
        const zephrin::testing::LineArt art = zephrin::testing::lineArtOnPaper({900, 700}, seed);
        const cv::Mat matte = MatteEngine::flatColorMask(art.scene.image, 25, false, 0).image().pixels;
        EXPECT_EQ(cv::countNonZero(matte & art.insides), 0);
        EXPECT_EQ(cv::countNonZero((matte != 255) & art.scene.shape), 0);
        const cv::Mat edge = (art.ink > 0) & (art.ink < 255);
        const cv::Mat soft = (matte > 0) & (matte < 255) & edge;
        EXPECT_GT(cv::countNonZero(soft), cv::countNonZero(edge) / 40);
    }
    // A page of one even colour keeps the tolerance's own ramp.
    const MatteBox even = MatteEngine::flatColorMask(opaqueImage(300, 200, {240, 240, 240}), 25, false, 0);
    EXPECT_EQ(cv::countNonZero(even.image().pixels), 0);
}

// Grainy paper around a disc, keyed from its corners. A pale disc at the
// edge of tolerance 25 (grey 225 and 226 on grey 250: 0.170 and 0.163 from
// the key, about t = 0.165) has grainy pixels within the tolerance, but they
// are no backdrop: the paper's own grain lies well inside the ramp's
// beginning, so the key is the tolerance's own, whatever the subject. Paper
// of grain 6 to 8 moves the ramp, but only the values follow it: what is
// backdrop stays at the tolerance, so the pale disc stays whole, with gap
// closing too. Paper so grainy that little of it lies within the ramp's
// beginning (grey 200, grain 22 to 26) still moves the ramp, so it is keyed
// as far as it spreads within the tolerance.
TEST(FlatColorMask, APaleSubjectNeverMovesTheRamp)
{
    struct GrainyPage {
        int paper;
        int disc;
        double grain;
        double tolerance;
        double paperAlphaAtMost; // mean, over the paper
        double discAlphaAtLeast; // mean, over the disc
        bool ownRamp;            // the tolerance's own key, unmoved
    };
    const GrainyPage pages[] = {
        {250, 225, 2, 25, 1, 250, true},    {250, 225, 3, 25, 1, 250, true},    {250, 225, 4, 25, 1, 250, true},
        {250, 226, 2, 25, 1, 200, true},    {250, 226, 3, 25, 1, 200, true},    {250, 226, 4, 25, 1, 200, true},
        {250, 225, 6, 25, 1, 250, false},   {250, 225, 7, 25, 1, 250, false},   {250, 225, 8, 25, 1, 250, false},
        {200, 60, 22, 25, 60, 200, false},  {200, 60, 24, 30, 80, 200, false},  {200, 60, 26, 30, 100, 200, false},
    };
    for (const GrainyPage& page : pages) {
        const Image image = zephrin::testing::greyDiscOnGrainyPaper(page.paper, page.disc, page.grain).image;
        const RGBAColor key = keyColorFromCorners(cornerPatchColors(image.pixels));
        // Closing gaps in heavy grain holds the paper off the flood: only for a pale subject.
        for (int closeGaps : {0, 4}) {
            if (closeGaps > 0 && page.grain > 8)
                continue;
            SCOPED_TRACE(::testing::Message() << "paper " << page.paper << ", disc " << page.disc << ", grain "
                                              << page.grain << ", tolerance " << page.tolerance << ", close gaps "
                                              << closeGaps);
            const cv::Mat matte = MatteEngine::flatColorMask(image, page.tolerance, true, closeGaps).image().pixels;
            cv::Mat disc(matte.size(), CV_8UC1, cv::Scalar(0));
            cv::circle(disc, {300, 225}, 110, cv::Scalar(255), cv::FILLED);
            EXPECT_GE(cv::mean(matte, disc)[0], page.discAlphaAtLeast);
            cv::Mat paper(matte.size(), CV_8UC1, cv::Scalar(255));
            cv::circle(paper, {300, 225}, 130, cv::Scalar(0), cv::FILLED);
            EXPECT_LE(cv::mean(matte, paper)[0], page.paperAlphaAtMost);
            const cv::Mat own = borderConnectedKey(softColorKey(image.pixels, key, page.tolerance), closeGaps);
            if (page.ownRamp)
                EXPECT_EQ(cv::countNonZero(matte != own), 0);
            else
                EXPECT_GT(cv::countNonZero(matte != own), 0) << "the ramp moved";
        }
    }
}

TEST(FlatColorMask, KeysTheCornersThatAgree)
{
    // A white page whose top-right corner is covered by the subject.
    Image image = opaqueImage(100, 80, {255, 255, 255});
    paintRect(image, {60, 0, 40, 30}, {30, 60, 90});
    const auto corners = MatteEngine::cornerColors(image);
    ASSERT_EQ(corners.size(), 4u);
    EXPECT_EQ(corners[1], (RGBAColor{30 / 255.0, 60 / 255.0, 90 / 255.0, 1}));
    EXPECT_EQ(keyColorFromCorners({corners[0], corners[1], corners[2], corners[3]}), (RGBAColor{1, 1, 1, 1}));

    const MatteBox box = MatteEngine::flatColorMask(image, 25, true, 0);
    EXPECT_EQ(at(box, 10, 70), 0);
    EXPECT_EQ(at(box, 80, 10), 255);

    // Two pairs of equal corners tie: the first corner is dropped.
    const RGBAColor a{0.2, 0.2, 0.2, 1}, b{0.8, 0.8, 0.8, 1};
    const RGBAColor mixed = keyColorFromCorners({a, a, b, b});
    EXPECT_NEAR(mixed.r, 0.6, 1e-12);
}

TEST(CornerPatches, AreClippedToSmallImages)
{
    // One column of three pixels: the 2 × 2 patches shrink to 1 × 2.
    cv::Mat pixels(3, 1, CV_8UC4, cv::Scalar(0, 0, 0, 255));
    pixels.at<cv::Vec4b>(0, 0) = {255, 0, 0, 255};
    pixels.at<cv::Vec4b>(2, 0) = {0, 0, 255, 255};
    const auto corners = cornerPatchColors(pixels);
    EXPECT_EQ(corners[0], (RGBAColor{0.5, 0, 0, 1}));
    EXPECT_EQ(corners[1], corners[0]);
    EXPECT_EQ(corners[2], (RGBAColor{0, 0, 0.5, 1}));
    EXPECT_EQ(corners[3], corners[2]);

    // From 66 pixels on the short side, the patch is a 33rd of it.
    Image large = opaqueImage(200, 99, {0, 0, 0});
    paintRect(large, {0, 0, 3, 3}, {255, 255, 255});
    EXPECT_EQ(MatteEngine::cornerColors(large)[0], (RGBAColor{1, 1, 1, 1}));
}

TEST(FlatColorMask, HandlesDegenerateImages)
{
    EXPECT_THROW(MatteEngine::flatColorMask(Image(), 25, true, 20), MatteError);
    EXPECT_TRUE(MatteEngine::cornerColors(Image()).empty());

    const MatteBox dot = MatteEngine::flatColorMask(opaqueImage(1, 1, {9, 9, 9}), 25, true, 20);
    EXPECT_EQ(dot.image().size(), cv::Size(1, 1));
    EXPECT_EQ(at(dot, 0, 0), 0);

    // Transparent pixels count as black.
    const MatteBox clear = MatteEngine::flatColorMask(Image::transparent({5, 4}), 25, false, 0, RGBAColor{0, 0, 0, 1});
    EXPECT_EQ(cv::countNonZero(clear.image().pixels), 0);
}
