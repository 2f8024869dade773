// The overlay drawn into an image, sampled at chosen pixels.

#include "canvas/OverlayPainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

// A 200 × 100 overlay of a 100 × 50 image shown 2 points a pixel.
OverlayInput input(CanvasTool tool)
{
    OverlayInput in;
    in.tool = tool;
    in.mapping = viewMapping({248, 148}, {100, 50}, 1.0, {0, 0});
    in.size = in.mapping.size;
    return in;
}

QImage draw(const OverlayInput& in)
{
    QImage image(int(in.size.width()), int(in.size.height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintOverlay(painter, in);
    painter.end();
    return image;
}

int alpha(const QImage& image, int x, int y) { return image.pixelColor(x, y).alpha(); }

TEST(OverlayPainter, TheViewToolDrawsNothingAtAll)
{
    OverlayInput in = input(CanvasTool::view);
    in.pendingSelection = std::vector<QPointF>{{10, 10}, {40, 30}};
    in.cropDraft = QRectF(5, 5, 20, 20);
    const QImage image = draw(in);
    for (int y = 0; y < image.height(); y += 5)
        for (int x = 0; x < image.width(); x += 5)
            ASSERT_EQ(alpha(image, x, y), 0) << x << ", " << y;
}

TEST(OverlayPainter, TheCropToolDimsTheImageOrWhatLiesOutsideTheBox)
{
    OverlayInput in = input(CanvasTool::crop);
    QImage image = draw(in);
    EXPECT_NEAR(alpha(image, 100, 50), 64, 2);  // 0.25
    in.cropDraft = QRectF(20, 10, 60, 30);      // points 40…160 × 20…80
    image = draw(in);
    EXPECT_NEAR(alpha(image, 10, 90), 115, 2);  // 0.45 outside
    EXPECT_EQ(alpha(image, 70, 35), 0);         // clear inside
    // A corner square, white.
    EXPECT_EQ(image.pixelColor(40, 20), QColor(Qt::white));
}

TEST(OverlayPainter, BrushStrokesShowTheirToolsColourAtTheBrushSize)
{
    OverlayInput in = input(CanvasTool::erase);
    in.brushSize = 10;  // 20 points
    in.liveStroke = {{50, 25}};
    QImage image = draw(in);
    // A dot: the single point drawn with round caps, erase red at 0.55.
    const QColor centre = image.pixelColor(100, 50);
    EXPECT_NEAR(centre.alpha(), 140, 3);
    EXPECT_GT(centre.red(), centre.green() * 2);
    EXPECT_GT(alpha(image, 100, 58), 100);
    EXPECT_EQ(alpha(image, 100, 64), 0);

    in.tool = CanvasTool::restore;
    image = draw(in);
    EXPECT_GT(image.pixelColor(100, 50).green(), image.pixelColor(100, 50).red());
}

TEST(OverlayPainter, HandlesShowOnlyWithTheSelectionTools)
{
    OverlayInput in = input(CanvasTool::select);
    in.pendingSelection = std::vector<QPointF>{{10, 10}, {60, 40}};  // points 20…120 × 20…80
    QImage image = draw(in);
    EXPECT_EQ(image.pixelColor(70, 20), QColor(Qt::white));  // the top-middle handle's centre
    EXPECT_GT(alpha(image, 70, 50), 30);                     // the violet fill
    in.tool = CanvasTool::erase;
    image = draw(in);
    EXPECT_NE(image.pixelColor(70, 24), QColor(Qt::white));  // no handle below the edge
    EXPECT_GT(alpha(image, 70, 50), 30);                     // the selection still shows
    in.tool = CanvasTool::pan;                               // Space held
    image = draw(in);
    EXPECT_NE(image.pixelColor(70, 24), QColor(Qt::white));
}

TEST(OverlayPainter, AnOutlinesFirstRingTurnsGreenAtTheThirdPoint)
{
    OverlayInput in = input(CanvasTool::select);
    in.selectionKind = SelectionKind::polygon;
    in.liveStroke = {{20, 20}, {70, 20}};
    QImage image = draw(in);
    const QColor ringTwo = image.pixelColor(40, 47);  // the ring below the first point
    EXPECT_GT(ringTwo.alpha(), 100);
    EXPECT_NEAR(ringTwo.red(), ringTwo.green(), 10);  // white
    in.liveStroke.push_back({70, 40});
    image = draw(in);
    const QColor ringThree = image.pixelColor(40, 47);
    EXPECT_GT(ringThree.green(), ringThree.red() + 60);
}

TEST(OverlayPainter, MarksFollowTheMirroredFrame)
{
    OverlayInput in = input(CanvasTool::select);
    CompositeFrame frame;
    frame.mirror = true;
    frame.width = 100;
    in.mapping.frame = frame;
    in.pendingSelection = std::vector<QPointF>{{5, 10}, {25, 40}};  // shown 75…95: points 150…190
    const QImage image = draw(in);
    EXPECT_GT(alpha(image, 170, 50), 30);
    EXPECT_EQ(alpha(image, 30, 50), 0);
}

} // namespace
} // namespace zephrin
