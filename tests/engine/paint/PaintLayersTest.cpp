#include "engine/paint/PaintLayers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zephrin;

namespace {

const RGBAColor kRed{1, 0, 0, 1};
const RGBAColor kBlue{0, 0, 1, 1};

PaintStroke stroke(std::vector<QPointF> points, double size, double hardness, double opacity = 1,
                   PaintBlend blend = PaintBlend::solid, RGBAColor color = kRed)
{
    PaintStroke s;
    s.color = color;
    s.blend = blend;
    s.opacity = opacity;
    s.size = size;
    s.hardness = hardness;
    s.points = std::move(points);
    return s;
}

PaintGradient gradient(GradientKind kind, QPointF from, QPointF to, PaintBlend blend = PaintBlend::solid)
{
    PaintGradient g;
    g.kind = kind;
    g.from = from;
    g.to = to;
    g.start = kRed;
    g.end = kBlue;
    g.blend = blend;
    return g;
}

cv::Vec4b at(const Image& layer, int x, int y) { return layer.pixels.at<cv::Vec4b>(y, x); }

// Every premultiplied channel at most its alpha.
bool premultipliedEverywhere(const Image& layer)
{
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x) {
            const cv::Vec4b p = at(layer, x, y);
            if (p[0] > p[3] || p[1] > p[3] || p[2] > p[3])
                return false;
        }
    return true;
}

} // namespace

TEST(PaintLayers, RendersNothingForNoOpsOrNoPixels)
{
    EXPECT_FALSE(PaintLayers::render({}, 10, 10));
    EXPECT_FALSE(PaintLayers::render({stroke({{1, 1}}, 4, 1)}, 0, 10));
    EXPECT_FALSE(PaintLayers::render({stroke({{1, 1}}, 4, 1)}, 10, 0));
}

TEST(PaintLayers, MakesOnlyTheLayersThatWerePaintedInto)
{
    const auto solid = PaintLayers::render({stroke({{5, 5}}, 4, 1)}, 20, 10);
    ASSERT_TRUE(solid);
    ASSERT_TRUE(solid->solid);
    EXPECT_FALSE(solid->color);
    EXPECT_EQ(solid->solid->extent(), cv::Rect(0, 0, 20, 10));

    const auto colour = PaintLayers::render({stroke({{5, 5}}, 4, 1, 1, PaintBlend::color)}, 20, 10);
    ASSERT_TRUE(colour);
    EXPECT_FALSE(colour->solid);
    ASSERT_TRUE(colour->color);
    EXPECT_EQ(at(*colour->color, 5, 5), cv::Vec4b(255, 0, 0, 255));
}

TEST(PaintLayers, OnePointStrokeIsOneDabOfHalfTheSize)
{
    const auto layers = PaintLayers::render({stroke({{50.5, 50.5}}, 20, 1)}, 100, 100);
    ASSERT_TRUE(layers && layers->solid);
    EXPECT_EQ(at(*layers->solid, 60, 50), cv::Vec4b(255, 0, 0, 255));
    EXPECT_EQ(at(*layers->solid, 61, 50), cv::Vec4b(0, 0, 0, 0));
    EXPECT_EQ(at(*layers->solid, 50, 40), cv::Vec4b(255, 0, 0, 255));

    // Hardness 0.5: solid to 5 px, fading to the rim.
    const auto soft = PaintLayers::render({stroke({{50.5, 50.5}}, 20, 0.5)}, 100, 100);
    EXPECT_EQ(at(*soft->solid, 57, 50), cv::Vec4b(153, 0, 0, 153));
}

TEST(PaintLayers, OverlappingDabsNeverBuildUpBeyondTheOpacity)
{
    // Hundreds of overlapping dabs, in a colour with its own alpha.
    const RGBAColor translucent{0, 1, 0, 0.5};
    const auto layers =
        PaintLayers::render({stroke({{10, 50}, {90, 50}, {10, 52}}, 30, 1, 0.5, PaintBlend::solid, translucent)},
                            100, 100);
    ASSERT_TRUE(layers && layers->solid);
    double largest = 0;
    cv::minMaxLoc(layers->solid->pixels.reshape(1, 100 * 100).col(3), nullptr, &largest);
    EXPECT_EQ(at(*layers->solid, 50, 50)[3], 64); // 0.5 × 0.5 × 255, however many dabs overlap
    EXPECT_LE(largest, 64);
    EXPECT_TRUE(premultipliedEverywhere(*layers->solid));

    const auto opaque = PaintLayers::render({stroke({{10, 50}, {90, 50}}, 30, 0.2, 0.5)}, 100, 100);
    EXPECT_EQ(at(*opaque->solid, 50, 50), cv::Vec4b(128, 0, 0, 128));
}

TEST(PaintLayers, LinearGradientExtendsBothEnds)
{
    const auto layers = PaintLayers::render({gradient(GradientKind::linear, {19.5, 0}, {79.5, 0})}, 100, 4);
    ASSERT_TRUE(layers && layers->solid);
    EXPECT_EQ(at(*layers->solid, 0, 1), cv::Vec4b(255, 0, 0, 255));
    EXPECT_EQ(at(*layers->solid, 99, 1), cv::Vec4b(0, 0, 255, 255));
    const cv::Vec4b middle = at(*layers->solid, 49, 1); // t = 0.5
    EXPECT_EQ(middle, cv::Vec4b(128, 0, 128, 255));
}

TEST(PaintLayers, RadialGradientReachesAtLeastOnePixel)
{
    const auto layers = PaintLayers::render({gradient(GradientKind::radial, {50.5, 50.5}, {50.5, 50.5})}, 100, 100);
    ASSERT_TRUE(layers && layers->solid);
    EXPECT_EQ(at(*layers->solid, 50, 50), cv::Vec4b(255, 0, 0, 255));
    EXPECT_EQ(at(*layers->solid, 52, 50), cv::Vec4b(0, 0, 255, 255));

    const auto wide = PaintLayers::render({gradient(GradientKind::radial, {50.5, 50.5}, {90.5, 50.5})}, 100, 100);
    EXPECT_EQ(at(*wide->solid, 70, 50), cv::Vec4b(128, 0, 128, 255));
    EXPECT_EQ(at(*wide->solid, 99, 99), cv::Vec4b(0, 0, 255, 255));
}

TEST(PaintLayers, SelectionConfinesThePaint)
{
    PaintGradient confined = gradient(GradientKind::linear, {0, 0}, {100, 0});
    confined.shape = SelectionKind::ellipse;
    confined.shapePoints = {{20, 20}, {80, 60}};
    const auto layers = PaintLayers::render({confined}, 100, 100);
    ASSERT_TRUE(layers && layers->solid);
    EXPECT_FALSE(layers->color);
    EXPECT_EQ(at(*layers->solid, 50, 40)[3], 255);
    EXPECT_EQ(at(*layers->solid, 21, 21)[3], 0); // a corner of the box, outside the ellipse
    EXPECT_EQ(at(*layers->solid, 10, 40)[3], 0);
    EXPECT_EQ(at(*layers->solid, 50, 70)[3], 0);
    EXPECT_TRUE(premultipliedEverywhere(*layers->solid));

    // A selection that forms no path does not confine.
    PaintStroke unconfined = stroke({{5, 5}}, 4, 1);
    unconfined.shape = SelectionKind::lasso;
    unconfined.shapePoints = {{50, 50}, {60, 60}};
    const auto free = PaintLayers::render({unconfined}, 100, 100);
    EXPECT_EQ(at(*free->solid, 5, 5)[3], 255);
}
