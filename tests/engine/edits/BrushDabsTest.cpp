#include "engine/edits/BrushDabs.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zephrin;

TEST(BrushDabs, SpacesDabsAlongThePathAndCarriesTheRemainder)
{
    const double spacing = dabSpacing(brushRadius(20));
    const auto straight = dabCentres({{0, 0}, {100, 0}}, spacing);
    ASSERT_EQ(straight.size(), 56u);
    for (size_t i = 0; i < straight.size(); ++i) {
        EXPECT_NEAR(straight[i].x(), 1.8 * double(i), 1e-9);
        EXPECT_EQ(straight[i].y(), 0);
    }
    EXPECT_NEAR(straight.back().x(), 99.0, 1e-9);

    // The turn continues 1.0 after the last dab: the next one falls 0.8 down.
    const auto bent = dabCentres({{0, 0}, {100, 0}, {100, 0}, {100, 10}}, spacing);
    ASSERT_EQ(bent.size(), 56u + 6u);
    EXPECT_NEAR(bent[56].x(), 100, 1e-9);
    EXPECT_NEAR(bent[56].y(), 0.8, 1e-9);
    EXPECT_NEAR(bent.back().y(), 0.8 + 5 * 1.8, 1e-9);
}

TEST(BrushDabs, SinglePointGivesOneDab)
{
    const auto dabs = dabCentres({{3, 4}}, 0.5);
    ASSERT_EQ(dabs.size(), 1u);
    EXPECT_EQ(dabs.front(), QPointF(3, 4));
    EXPECT_TRUE(dabCentres({}, 0.5).empty());
}

TEST(BrushDabs, KeepsOnlyTheDabsWithinTheAreaWithoutShiftingThem)
{
    const std::vector<QPointF> path{{-1000, 5}, {1000, 5}, {1000, 2000}};
    const QRectF area(40, 0, 20, 20);
    const auto all = dabCentres(path, 1.8);
    const auto kept = dabCentres(path, 1.8, area);
    std::vector<QPointF> expected;
    for (QPointF p : all)
        if (area.contains(p))
            expected.push_back(p);
    ASSERT_EQ(kept.size(), expected.size());
    ASSERT_FALSE(kept.empty());
    for (size_t i = 0; i < kept.size(); ++i) {
        EXPECT_NEAR(kept[i].x(), expected[i].x(), 1e-9);
        EXPECT_NEAR(kept[i].y(), expected[i].y(), 1e-9);
    }
    // A path far from the area places nothing, however long it is.
    EXPECT_TRUE(dabCentres({{-1e12, -1e12}, {-1e12, 1e12}}, 0.5, area).empty());
}

TEST(BrushDabs, DropsPointsThatAreNotFinite)
{
    const double nan = std::nan("");
    const auto dabs = dabCentres({{nan, 0}, {0, 0}, {nan, nan}, {0, 1}}, 0.5);
    ASSERT_EQ(dabs.size(), 3u);
    EXPECT_EQ(dabs.back(), QPointF(0, 1));
}
