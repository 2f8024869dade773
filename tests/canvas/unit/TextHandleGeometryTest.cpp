// The text handles' arithmetic: clamping a centre into the image, the handle
// box, move offsets, label resizing with and without Shift, and the keys.

#include "canvas/text/TextHandleGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zephrin::texthandles {
namespace {

const QSizeF kImage(1000, 500);

TEST(TextHandleGeometry, ACentreKeepsTheBoxInsideTheImage)
{
    const QSizeF box(200, 100);   // half extents 0.1 across, 0.1 down
    EXPECT_EQ(clampedCenter(box, 0.5, 0.5, kImage), QPointF(0.5, 0.5));
    EXPECT_EQ(clampedCenter(box, 0.0, 1.2, kImage), QPointF(0.1, 0.9));
    EXPECT_EQ(clampedCenter(box, 0.95, -3, kImage), QPointF(0.9, 0.1));

    // A box at least as large as the image in a dimension is centred there.
    EXPECT_EQ(clampedCenter(QSizeF(1000, 40), 0.2, 0.3, kImage), QPointF(0.5, 0.3));
    EXPECT_EQ(clampedCenter(QSizeF(5000, 900), 0.9, 0.9, kImage), QPointF(0.5, 0.5));

    // Not a number takes the smallest allowed value.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(clampedCenter(box, nan, nan, kImage), QPointF(0.1, 0.1));

    // An image side below 1 pixel counts as 1.
    EXPECT_EQ(clampedCenter(QSizeF(0.5, 0.5), 0.1, 0.9, QSizeF(0.2, 0)), QPointF(0.25, 0.75));
}

TEST(TextHandleGeometry, TheHandleBoxHasAMarginAndAMinimum)
{
    EXPECT_EQ(handleBoxSize(QSizeF(200, 100), 0.5), QSizeF(116, 60));
    EXPECT_EQ(handleBoxSize(QSizeF(2, 2), 0.5), QSizeF(24, 18));
    EXPECT_DOUBLE_EQ(viewScale(QSizeF(500, 250), kImage), 0.5);
}

TEST(TextHandleGeometry, AMoveFollowsThePointerUntilTheEdge)
{
    const QSizeF frame(500, 250);   // half size: 0.5 points per pixel
    const QSizeF box(200, 100);
    // 50 points right is 0.1 of the width; 25 down is 0.1 of the height.
    EXPECT_EQ(moveOffset(box, {0.5, 0.5}, {50, 25}, frame, kImage), QSizeF(50, 25));
    const QPointF moved = movedCenter(box, {0.5, 0.5}, {50, 25}, frame, kImage);
    EXPECT_NEAR(moved.x(), 0.6, 1e-12);
    EXPECT_NEAR(moved.y(), 0.6, 1e-12);
    // Dragged far past the right edge: stops where the box touches it.
    const QSizeF stopped = moveOffset(box, {0.5, 0.5}, {10000, 0}, frame, kImage);
    EXPECT_NEAR(stopped.width(), 500 * 0.4, 1e-9);
    EXPECT_EQ(stopped.height(), 0);
}

TEST(TextHandleGeometry, AResizeGrowsAboutTheCentre)
{
    const QSizeF frame(500, 250);   // the image is 250 points high
    // 25 points right adds 2 × 25 / 250 = 0.2 to the width.
    const QSizeF grown = resizedLabel({0.5, 0.3}, {25, 0}, frame, kImage, false);
    EXPECT_NEAR(grown.width(), 0.7, 1e-12);
    EXPECT_NEAR(grown.height(), 0.3, 1e-12);

    // Shift: both sides scale by the larger ratio (0.7 / 0.5 = 1.4).
    const QSizeF kept = resizedLabel({0.5, 0.3}, {25, 0}, frame, kImage, true);
    EXPECT_NEAR(kept.width(), 0.7, 1e-12);
    EXPECT_NEAR(kept.height(), 0.42, 1e-12);

    // Limits apply to each side separately, so proportions break at a limit.
    const QSizeF huge = resizedLabel({1.0, 0.5}, {375, 0}, frame, kImage, true);   // k = 4
    EXPECT_EQ(huge.width(), kMaxLabelSide);
    EXPECT_NEAR(huge.height(), 2.0, 1e-12);
    const QSizeF tiny = resizedLabel({0.5, 0.3}, {-1000, -1000}, frame, kImage, false);
    EXPECT_EQ(tiny, QSizeF(kMinLabelSide, kMinLabelSide));
}

TEST(TextHandleGeometry, AShiftResizeFromAZeroSideUsesTheMinimum)
{
    const QSizeF frame(500, 250);
    // A width of 0 would divide by zero; it counts as 0.04 instead.
    const QSizeF size = resizedLabel({0, 0.3}, {25, 0}, frame, kImage, true);
    EXPECT_TRUE(std::isfinite(size.width()) && std::isfinite(size.height()));
    // Ratios: width (0 + 0.2) / 0.04 = 5, height 0.3 / 0.3 = 1: k = 5.
    EXPECT_NEAR(size.width(), 0.2, 1e-12);
    EXPECT_NEAR(size.height(), 1.5, 1e-12);
    const QSizeF both = resizedLabel({0, 0}, {0, 0}, frame, kImage, true);
    EXPECT_EQ(both, QSizeF(kMinLabelSide, kMinLabelSide));
}

TEST(TextHandleGeometry, KeysActOnlyOnASelectedLayerWhileNoTextIsEdited)
{
    const auto shift = Qt::KeyboardModifiers(Qt::ShiftModifier);
    EXPECT_EQ(decideKey(Qt::Key_Escape, {}, false, true, true).action, KeyAction::deselect);
    EXPECT_EQ(decideKey(Qt::Key_Backspace, {}, false, true, true).action, KeyAction::remove);
    EXPECT_EQ(decideKey(Qt::Key_Delete, {}, false, true, true).action, KeyAction::remove);
    EXPECT_EQ(decideKey(Qt::Key_Left, {}, false, true, true).step, QPointF(-1, 0));
    EXPECT_EQ(decideKey(Qt::Key_Right, shift, false, true, true).step, QPointF(10, 0));
    EXPECT_EQ(decideKey(Qt::Key_Up, shift, false, true, true).step, QPointF(0, -10));
    EXPECT_EQ(decideKey(Qt::Key_Down, {}, false, true, true).step, QPointF(0, 1));
    EXPECT_EQ(decideKey(Qt::Key_A, {}, false, true, true).action, KeyAction::pass);

    for (int key : {Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_Left}) {
        EXPECT_EQ(decideKey(key, {}, true, true, true).action, KeyAction::pass);    // a text field edits
        EXPECT_EQ(decideKey(key, {}, false, false, true).action, KeyAction::pass);  // another tool
        EXPECT_EQ(decideKey(key, {}, false, true, false).action, KeyAction::pass);  // nothing selected
    }
}

TEST(TextHandleGeometry, ANudgeMovesByImagePixelsAndStopsAtTheEdge)
{
    const QSizeF box(200, 100);
    const QPointF right = nudgedCenter(box, {0.5, 0.5}, {10, 0}, kImage);
    EXPECT_NEAR(right.x(), 0.51, 1e-12);
    EXPECT_EQ(nudgedCenter(box, {0.9, 0.9}, {10, 10}, kImage), QPointF(0.9, 0.9));
    // A zero-sized image counts as 1 × 1.
    EXPECT_EQ(nudgedCenter(QSizeF(0, 0), {0.5, 0.5}, {1, 0}, QSizeF(0, 0)), QPointF(1, 0.5));
}

} // namespace
} // namespace zephrin::texthandles
