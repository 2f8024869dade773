#include "engine/edits/SelectionGeometry.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

// The mask's value at pixel (x, y).
int maskAt(const std::vector<std::uint8_t>& mask, int width, int x, int y)
{
    return mask[static_cast<size_t>(y) * width + x];
}

int coveredCount(const std::vector<std::uint8_t>& mask)
{
    int count = 0;
    for (auto value : mask)
        count += value;
    return count;
}

} // namespace

TEST(SelectionPath, DragKindsSpanTheFirstAndLastPoint)
{
    const std::vector<QPointF> drag{{100, 50}, {30, 80}, {20, 10}};
    const auto rectangle = selectionPath(SelectionKind::rectangle, drag);
    ASSERT_TRUE(rectangle);
    EXPECT_EQ(rectangle->boundingRect(), QRectF(20, 10, 80, 40));
    EXPECT_EQ(boundingRect(SelectionKind::rectangle, drag), QRectF(20, 10, 80, 40));

    const auto ellipse = selectionPath(SelectionKind::ellipse, drag);
    ASSERT_TRUE(ellipse);
    EXPECT_EQ(ellipse->boundingRect(), QRectF(20, 10, 80, 40));
    EXPECT_TRUE(ellipse->contains(QPointF(60, 30)));
    EXPECT_FALSE(ellipse->contains(QPointF(22, 12))); // a corner of the box lies outside

    EXPECT_FALSE(selectionPath(SelectionKind::rectangle, {{1, 1}}));
    EXPECT_FALSE(selectionPath(SelectionKind::ellipse, {}));
}

TEST(SelectionPath, PointKindsNeedThreePoints)
{
    for (SelectionKind kind : {SelectionKind::lasso, SelectionKind::polygon}) {
        EXPECT_FALSE(selectionPath(kind, {{0, 0}, {10, 10}}));
        const auto triangle = selectionPath(kind, {{0, 0}, {10, 0}, {0, 10}});
        ASSERT_TRUE(triangle);
        EXPECT_TRUE(triangle->contains(QPointF(2, 2)));
        EXPECT_FALSE(triangle->contains(QPointF(8, 8)));
    }
}

TEST(SelectionBounds, HoldsEveryPointOfPointKindsAndASinglePoint)
{
    const std::vector<QPointF> lasso{{100, 50}, {30, 80}, {20, 10}};
    EXPECT_EQ(boundingRect(SelectionKind::lasso, lasso), QRectF(20, 10, 80, 70));
    EXPECT_EQ(boundingRect(SelectionKind::rectangle, {{7, 9}}), QRectF(7, 9, 0, 0));
    EXPECT_EQ(boundingRect(SelectionKind::ellipse, {}), QRectF());
}

TEST(SelectionHandles, RunClockwiseFromTheTopLeft)
{
    const auto handles = handlePoints(QRectF(0, 0, 10, 20));
    const std::array<QPointF, 8> expected{{{0, 0}, {5, 0}, {10, 0}, {10, 10}, {10, 20}, {5, 20}, {0, 20}, {0, 10}}};
    EXPECT_EQ(handles, expected);
}

TEST(SelectionOffset, MovesEveryPointInOrder)
{
    EXPECT_EQ(offsetPoints({{1, 2}, {3, 4}}, {10, -1}), (std::vector<QPointF>{{11, 1}, {13, 3}}));
    EXPECT_TRUE(offsetPoints({}, {5, 5}).empty());
}

TEST(RasterizeMask, CoversThePixelsWhoseCentreIsInside)
{
    // Edges on whole pixels: columns 2 to 4, rows 3 to 6.
    const int w = 10, h = 10;
    const auto mask = rasterizeMask(*selectionPath(SelectionKind::rectangle, {{2, 3}, {5, 7}}), w, h);
    ASSERT_EQ(mask.size(), size_t(w * h));
    EXPECT_EQ(coveredCount(mask), 3 * 4);
    EXPECT_EQ(maskAt(mask, w, 2, 3), 1);
    EXPECT_EQ(maskAt(mask, w, 4, 6), 1);
    EXPECT_EQ(maskAt(mask, w, 5, 6), 0);
    EXPECT_EQ(maskAt(mask, w, 4, 7), 0);

    // Edges just short of the centres 2.5 and 5.5 exclude column 2 and include column 5.
    const auto shifted = rasterizeMask(*selectionPath(SelectionKind::rectangle, {{2.6, 3}, {5.6, 4}}), w, h);
    EXPECT_EQ(maskAt(shifted, w, 2, 3), 0);
    EXPECT_EQ(maskAt(shifted, w, 3, 3), 1);
    EXPECT_EQ(maskAt(shifted, w, 5, 3), 1);
    EXPECT_EQ(coveredCount(shifted), 3);
}

TEST(RasterizeMask, FillsBothLobesOfAFigureEightUnderNonZeroWinding)
{
    // The lobes of a figure eight wind in opposite directions; a loop drawn
    // twice round winds twice, which even-odd filling would leave empty.
    const int w = 40, h = 20;
    const auto eight = selectionPath(SelectionKind::lasso, {{0, 0}, {40, 20}, {40, 0}, {0, 20}});
    const auto mask = rasterizeMask(*eight, w, h);
    EXPECT_EQ(maskAt(mask, w, 3, 10), 1);
    EXPECT_EQ(maskAt(mask, w, 36, 10), 1);
    EXPECT_EQ(maskAt(mask, w, 20, 2), 0);
    EXPECT_EQ(maskAt(mask, w, 20, 17), 0);

    const auto twice = selectionPath(SelectionKind::lasso, {{5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}, {15, 5}, {15, 15}, {5, 15}});
    const auto doubled = rasterizeMask(*twice, w, h);
    EXPECT_EQ(maskAt(doubled, w, 10, 10), 1);
    EXPECT_EQ(coveredCount(doubled), 10 * 10);
}

TEST(RasterizeMask, ClipsToTheCanvasAndRefusesAnEmptyOne)
{
    const auto path = *selectionPath(SelectionKind::rectangle, {{-5, -5}, {3, 100}});
    const auto mask = rasterizeMask(path, 6, 4);
    EXPECT_EQ(coveredCount(mask), 3 * 4);
    EXPECT_TRUE(rasterizeMask(path, 0, 4).empty());
    EXPECT_TRUE(rasterizeMask(path, 4, -1).empty());
}
