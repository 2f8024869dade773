#include "output/vector/BoundaryLoops.h"

#include "output/vector/TraceFixtures.h"

#include <gtest/gtest.h>

#include <random>

using namespace zephrin;
using namespace zephrin::tracing;
using zephrin::testing::inDisc;
using zephrin::testing::inRect;
using zephrin::testing::mask;

namespace {

using Loop = std::vector<Pt>;

// Twice the signed area on screen (y down): positive for counter-clockwise
// loops, which is how outer outlines run.
double signedArea(const Loop& loop)
{
    double twice = 0;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const Pt a = loop[i], b = loop[(i + 1) % loop.size()];
        twice += a.y * b.x - a.x * b.y;
    }
    return twice / 2;
}

} // namespace

TEST(BoundaryLoops, RectangleStartsAtTheLowestVertexAndRunsDownFirst)
{
    const auto loops = boundaryLoops(mask(10, 6, [](int, int) { return true; }));
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_EQ(loops[0], (Loop{{0, 0}, {0, 6}, {10, 6}, {10, 0}}));
}

TEST(BoundaryLoops, RingGivesOuterOutlineFirstThenTheHole)
{
    const auto ring = mask(9, 9, [](int x, int y) { return !inRect(x, y, 3, 3, 3, 3); });
    const auto loops = boundaryLoops(ring);
    ASSERT_EQ(loops.size(), 2u);
    EXPECT_EQ(loops[0], (Loop{{0, 0}, {0, 9}, {9, 9}, {9, 0}}));
    EXPECT_EQ(loops[1], (Loop{{3, 3}, {6, 3}, {6, 6}, {3, 6}}));
    EXPECT_GT(signedArea(loops[0]), 0);
    EXPECT_LT(signedArea(loops[1]), 0);
}

TEST(BoundaryLoops, PixelsTouchingAtACornerStaySeparate)
{
    const auto falling = boundaryLoops(mask(2, 2, [](int x, int y) { return x == y; }));
    ASSERT_EQ(falling.size(), 2u);
    EXPECT_EQ(falling[0], (Loop{{0, 0}, {0, 1}, {1, 1}, {1, 0}}));
    EXPECT_EQ(falling[1], (Loop{{1, 1}, {1, 2}, {2, 2}, {2, 1}}));

    const auto rising = boundaryLoops(mask(2, 2, [](int x, int y) { return x + y == 1; }));
    ASSERT_EQ(rising.size(), 2u);
    EXPECT_EQ(rising[0], (Loop{{1, 0}, {1, 1}, {2, 1}, {2, 0}}));
    EXPECT_EQ(rising[1], (Loop{{0, 1}, {0, 2}, {1, 2}, {1, 1}}));
}

TEST(BoundaryLoops, EmptyMaskHasNoLoop)
{
    EXPECT_TRUE(boundaryLoops(mask(7, 5, [](int, int) { return false; })).empty());
    EXPECT_TRUE(boundaryLoops(TraceMask(0, 0)).empty());
}

// On random noise (many holes, islands and corner contacts) the loops must
// still be closed staircases of lattice corners whose signed areas add up to
// the number of set pixels.
TEST(BoundaryLoops, LoopsOfNoiseAreStaircasesEnclosingExactlyTheMask)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        const int w = 5 + round * 3, h = 3 + round * 2;
        std::bernoulli_distribution coin(0.3 + round * 0.02);
        const auto noise = mask(w, h, [&](int, int) { return coin(random); });
        long long setPixels = 0;
        for (const auto bit : noise.bits)
            setPixels += bit;

        double total = 0;
        for (const Loop& loop : boundaryLoops(noise)) {
            ASSERT_GE(loop.size(), 4u);
            for (std::size_t i = 0; i < loop.size(); ++i) {
                const Pt a = loop[i], b = loop[(i + 1) % loop.size()], c = loop[(i + 2) % loop.size()];
                EXPECT_TRUE(a.x == b.x || a.y == b.y) << "not axis-aligned";
                EXPECT_FALSE((a.x == b.x) == (b.x == c.x)) << "collinear corner kept";
                EXPECT_TRUE(a.x >= 0 && a.x <= w && a.y >= 0 && a.y <= h);
            }
            total += signedArea(loop);
        }
        EXPECT_EQ(total, static_cast<double>(setPixels)) << "round " << round;
    }
}

TEST(BoundaryLoops, DiscOutlineIsOneLoop)
{
    const auto loops = boundaryLoops(mask(40, 40, [](int x, int y) { return inDisc(x, y, 20, 20, 15); }));
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_NEAR(signedArea(loops[0]), 3.14159 * 15 * 15, 30);
}
