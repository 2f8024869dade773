// The canvas's geometry with the numbers of its design: fit and mapping,
// pinch and scroll zoom, the compare divider, and the composite's frame.

#include "canvas/ViewGeometry.h"
#include "engine/composite/CanvasGeometry.h"

#include <gtest/gtest.h>

namespace zephrin {
namespace {

void expectPoint(QPointF actual, QPointF expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
}

TEST(ViewGeometry, FitsTheImageIntoTheRegionLessItsMarginsAndMapsBothWays)
{
    // 400 × 200 in 848 × 648: width-bound, 800 × 400 at (24, 124), 2 points a pixel.
    const ViewMapping fitted = viewMapping({848, 648}, {400, 200}, 1.0, {0, 0});
    EXPECT_EQ(fitted.size, QSizeF(800, 400));
    expectPoint(fitted.origin, {24, 124});
    EXPECT_DOUBLE_EQ(fitted.scale, 2.0);
    expectPoint(fitted.toDocument({424, 324}), {200, 100});
    expectPoint(fitted.toRegion({200, 100}), {424, 324});

    // Zoom 2 with a pan of (10, −20).
    const ViewMapping zoomed = viewMapping({848, 648}, {400, 200}, 2.0, {10, -20});
    EXPECT_EQ(zoomed.size, QSizeF(1600, 800));
    expectPoint(zoomed.origin, {-366, -96});
    EXPECT_DOUBLE_EQ(zoomed.scale, 4.0);

    // A tall image is bound by the height.
    EXPECT_EQ(displayedSize({848, 648}, {100, 400}, 1.0), QSizeF(150, 600));
    // A 40 × 40 region leaves 1 × 1; a square image shows at 1 × 1.
    EXPECT_EQ(displayedSize({40, 40}, {500, 500}, 1.0), QSizeF(1, 1));
    EXPECT_TRUE(displayedSize({848, 648}, {0, 0}, 1.0).isEmpty());
}

TEST(ViewGeometry, PinchAndScrollZoomStayWithinTheirLimits)
{
    EXPECT_DOUBLE_EQ(pinchZoom(3, 4), 8.0);
    EXPECT_DOUBLE_EQ(pinchZoom(1, 0.01), 0.25);
    EXPECT_DOUBLE_EQ(pinchZoom(1, 1.5), 1.5);

    EXPECT_DOUBLE_EQ(*scrollZoomFactor(10, true), 1.1);
    EXPECT_DOUBLE_EQ(*scrollZoomFactor(1, false), 1.06);
    EXPECT_DOUBLE_EQ(*scrollZoomFactor(-1, false), 0.94);
    EXPECT_FALSE(scrollZoomFactor(0.005, true));  // too small to count
    // A large negative scroll gives a factor at or below zero: the clamp holds it.
    EXPECT_DOUBLE_EQ(zoomAbout({400, 300}, *scrollZoomFactor(-20, false), {848, 648}, {400, 200}, 1, {0, 0}).zoom,
                     0.25);
}

TEST(ViewGeometry, ZoomAboutAPointKeepsThePixelUnderIt)
{
    const QSizeF region(848, 648), image(400, 200);
    const QPointF pointer(600, 200);
    const QPointF under = viewMapping(region, image, 1.0, {0, 0}).toDocument(pointer);
    const ZoomAndPan next = zoomAbout(pointer, 1.5, region, image, 1.0, {0, 0});
    EXPECT_DOUBLE_EQ(next.zoom, 1.5);
    expectPoint(viewMapping(region, image, next.zoom, next.pan).toDocument(pointer), under, 1e-9);

    // At the top limit the zoom stays and so does the pan.
    const ZoomAndPan top = zoomAbout(pointer, 1.1, region, image, 8.0, {30, -40});
    EXPECT_DOUBLE_EQ(top.zoom, 8.0);
    EXPECT_NEAR(top.pan.width(), 30, 1e-9);
    EXPECT_NEAR(top.pan.height(), -40, 1e-9);
}

TEST(ViewGeometry, TheCompareDividerKeepsClearOfTheEdgesAndNeedsAWidth)
{
    EXPECT_DOUBLE_EQ(*comparePosition(500, 1000), 0.5);
    EXPECT_DOUBLE_EQ(*comparePosition(5, 1000), 0.02);
    EXPECT_DOUBLE_EQ(*comparePosition(995, 1000), 0.98);
    EXPECT_DOUBLE_EQ(*comparePosition(-300, 1000), 0.02);
    EXPECT_FALSE(comparePosition(10, 0));
}

TEST(ViewGeometry, MapsThroughAMirroredCroppedComposite)
{
    // A 180 × 100 crop from x = 10 of the document, mirrored, shown 2 points a pixel.
    CompositeSettings settings;
    settings.crop = QRectF(10, 0, 180, 100);
    settings.mirror = true;
    const CompositeFrame frame = compositeFrame(cv::Rect(0, 0, 200, 100), std::nullopt, settings);
    EXPECT_EQ(frame.origin, QPointF(10, 0));
    EXPECT_TRUE(frame.mirror);
    EXPECT_EQ(frame.width, 180);

    const ViewMapping m = viewMapping({408, 248}, {180, 100}, 1.0, {0, 0}, frame);
    EXPECT_DOUBLE_EQ(m.scale, 2.0);
    // The left edge of what is shown is the crop's right edge in the document.
    expectPoint(m.toDocument(m.origin), {190, 0});
    expectPoint(m.toDocument(m.origin + QPointF(40, 100)), {170, 50});
    expectPoint(m.toRegion({170, 50}), m.origin + QPointF(40, 100));
    // A document rectangle stays a rectangle, flipped across.
    EXPECT_EQ(m.toLayer(QRectF(170, 20, 10, 10)), QRectF(20, 40, 20, 20));
}

TEST(ViewGeometry, TheFrameFollowsTrimPaddingAndAspect)
{
    CompositeSettings settings;
    settings.trimToContent = true;
    settings.padding = 10;
    settings.aspect = AspectPreset::square;
    // Content 40 × 20 at (50, 30): padded by 4 a side to 48 × 28, then grown
    // to a square of 48, centred.
    const CompositeFrame frame = compositeFrame(cv::Rect(0, 0, 200, 100), QRectF(50, 30, 40, 20), settings);
    EXPECT_EQ(frame.origin, QPointF(46, 16));
    EXPECT_EQ(frame.width, 48);
    EXPECT_FALSE(frame.mirror);
    // With an outline the content grows by its width first.
    settings.outlineEnabled = true;
    settings.outlineWidth = 6;
    settings.aspect = AspectPreset::original;
    settings.padding = 0;
    EXPECT_EQ(compositeFrame(cv::Rect(0, 0, 200, 100), QRectF(50, 30, 40, 20), settings).origin, QPointF(44, 24));
}

} // namespace
} // namespace zephrin
