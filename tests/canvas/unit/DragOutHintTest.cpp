// When the drag-out hint opens and closes, as the pointer moves and rests.

#include "canvas/DragOutHint.h"

#include <gtest/gtest.h>

namespace zephrin {
namespace {

using Timer = DragOutHint::Timer;

TEST(DragOutHint, OpensWhereThePointerRestsAndClosesWhenItMovesOffOrLeaves)
{
    DragOutHint hint;
    EXPECT_EQ(hint.pointer(QPointF(40, 30)), Timer::restart);
    EXPECT_EQ(hint.pointer(QPointF(42, 31)), Timer::restart);  // still moving: the rest starts again
    EXPECT_FALSE(hint.shown());
    hint.rested(QPointF(42, 31));
    EXPECT_TRUE(hint.shown());
    EXPECT_EQ(hint.at(), QPointF(42, 31));

    // A small wobble keeps it; moving away closes it and waits for a new rest.
    EXPECT_EQ(hint.pointer(QPointF(48, 31)), Timer::keep);
    EXPECT_TRUE(hint.shown());
    EXPECT_EQ(hint.pointer(QPointF(51, 31)), Timer::restart);
    EXPECT_FALSE(hint.shown());
    hint.rested(QPointF(51, 31));
    EXPECT_EQ(hint.at(), QPointF(51, 31));

    // Off the image, out of the window, under a popup: closed, and no rest runs.
    EXPECT_EQ(hint.pointer(std::nullopt), Timer::stop);
    EXPECT_FALSE(hint.shown());
    EXPECT_EQ(hint.pointer(std::nullopt), Timer::stop);
}

} // namespace
} // namespace zephrin
