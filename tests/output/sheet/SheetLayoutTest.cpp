#include "output/sheet/SheetEngine.h"

#include "output/sheet/SheetFixtures.h"

#include <gtest/gtest.h>

#include <QRectF>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>

using namespace zephrin;
using zephrin::testing::opaqueImage;
using zephrin::testing::stickerItem;

namespace {

SheetSettings settingsWith(PrintRegion region, double spacing = 0.125, double border = 0.08, double bleed = 0.03)
{
    SheetSettings settings;
    settings.region = region;
    settings.spacingInches = spacing;
    settings.borderInches = border;
    settings.bleedInches = bleed;
    return settings;
}

::testing::AssertionResult near3(const QRectF& actual, const QRectF& expected)
{
    const auto close = [](double a, double b) { return std::abs(a - b) < 5e-4; };
    if (close(actual.x(), expected.x()) && close(actual.y(), expected.y()) &&
        close(actual.width(), expected.width()) && close(actual.height(), expected.height()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x() << ", " << actual.y() << ", " << actual.width() << ", "
                                         << actual.height() << ")";
}

bool strictlyOverlap(const QRectF& a, const QRectF& b)
{
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

// Every cell inside the printable area, no two cells (grown by the spacing)
// overlapping, each copy placed once, and the counts consistent.
void checkLayout(const SheetLayout& layout, const std::vector<StickerItem>& items, const SheetSettings& settings)
{
    const QRectF area = settings.printableArea();
    const double s = settings.spacingInches;
    std::set<QString> keys;
    std::int64_t requested = 0;
    for (const StickerItem& item : items)
        requested += std::max<std::int64_t>(item.count, 0);
    EXPECT_EQ(layout.requestedCount, requested);
    EXPECT_EQ(layout.placedCount, static_cast<std::int64_t>(layout.placements.size()));
    for (std::size_t i = 0; i < layout.placements.size(); ++i) {
        const SheetPlacement& p = layout.placements[i];
        EXPECT_GE(p.rect.left(), area.left() - 1e-9) << i;
        EXPECT_GE(p.rect.top(), area.top() - 1e-9) << i;
        EXPECT_LE(p.rect.right(), area.right() + 1e-9) << i;
        EXPECT_LE(p.rect.bottom(), area.bottom() + 1e-9) << i;
        EXPECT_TRUE(keys.insert(p.pinKey()).second) << "placed twice: " << p.pinKey().toStdString();
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(strictlyOverlap(p.rect.adjusted(0, 0, s, s), layout.placements[j].rect.adjusted(0, 0, s, s)))
                << i << " and " << j;
    }
}

} // namespace

TEST(PrintableArea, WorkedValues)
{
    SheetSettings settings = settingsWith(PrintRegion::cricut);
    EXPECT_TRUE(near3(settings.printableArea(), {0.875, 0.875, 6.75, 9.25}));
    settings.paper = PaperSize::a4;
    EXPECT_TRUE(near3(settings.printableArea(), {0.76, 1.22, 6.75, 9.25}));
    settings.paper = PaperSize::fourBySix;
    EXPECT_TRUE(near3(settings.printableArea(), {0.25, 0.25, 3.5, 5.5}));
    for (const PrintRegion region : {PrintRegion::margins, PrintRegion::silhouette}) {
        settings = settingsWith(region);
        EXPECT_TRUE(near3(settings.printableArea(), {0.25, 0.25, 8.0, 10.5}));
    }
}

TEST(PinKey, UpperCaseUuidHashAndInstance)
{
    const QUuid id = QUuid::fromString(QStringLiteral("{3f2504e0-4f89-11d3-9a0c-0305e82c3301}"));
    EXPECT_EQ(SheetPlacement({id, {}, 12}).pinKey(), QStringLiteral("3F2504E0-4F89-11D3-9A0C-0305E82C3301#12"));
}

TEST(SheetLayout, CountsOfZeroOrLessRequestNothing)
{
    const SheetSettings settings;
    EXPECT_EQ(SheetEngine::layout({}, settings, {}), SheetLayout{});
    const SheetLayout layout = SheetEngine::layout(
        {stickerItem(opaqueImage(10, 10), 1, 0), stickerItem(opaqueImage(10, 10), 1, -3)}, settings, {});
    EXPECT_TRUE(layout.placements.empty());
    EXPECT_EQ(layout.placedCount, 0);
    EXPECT_EQ(layout.requestedCount, 0);
}

TEST(SheetLayout, OversizeCellIsCountedButNeverPlaced)
{
    // Letter + cricut is 6.75 wide: a 6.6-inch sticker plus 0.22 of border and bleed is too wide.
    const std::vector<StickerItem> items{stickerItem(opaqueImage(10, 10), 6.6, 3),
                                         stickerItem(opaqueImage(10, 10), 1, 1)};
    const SheetSettings settings = settingsWith(PrintRegion::cricut);
    const SheetPins pins{{uuidString(items[0].id) + "#0", QPointF(1, 1)}};
    const SheetLayout layout = SheetEngine::layout(items, settings, pins);
    EXPECT_EQ(layout.requestedCount, 4);
    ASSERT_EQ(layout.placedCount, 1);
    EXPECT_EQ(layout.placements[0].itemID, items[1].id);
}

TEST(SheetLayout, ThreeSquaresGoLeftToRightWithTheShorterLeftover)
{
    const std::vector<StickerItem> items{stickerItem(opaqueImage(100, 100), 2.0, 3)};
    const SheetLayout layout = SheetEngine::layout(items, settingsWith(PrintRegion::margins), {});
    ASSERT_EQ(layout.placedCount, 3);
    EXPECT_TRUE(near3(layout.placements[0].rect, {0.25, 0.25, 2.22, 2.22}));
    EXPECT_TRUE(near3(layout.placements[1].rect, {2.595, 0.25, 2.22, 2.22}));
    EXPECT_TRUE(near3(layout.placements[2].rect, {4.94, 0.25, 2.22, 2.22}));
    for (std::int64_t n = 0; n < 3; ++n)
        EXPECT_EQ(layout.placements[n].instance, n);
}

TEST(SplitFreeRects, FirstSquareLeavesTheRightAndLowerRemainders)
{
    std::vector<QRectF> freeRects{{0.25, 0.25, 8.125, 10.625}};
    SheetEngine::splitFreeRects(freeRects, {0.25, 0.25, 2.345, 2.345});
    ASSERT_EQ(freeRects.size(), 2u);
    EXPECT_TRUE(near3(freeRects[0], {2.595, 0.25, 5.78, 10.625}));
    EXPECT_TRUE(near3(freeRects[1], {0.25, 2.595, 8.125, 8.28}));
}

TEST(SplitFreeRects, ContainedRemaindersAreDroppedAndUntouchedRectanglesStay)
{
    // A cell in the middle of one rectangle: its four remainders in place of it,
    // none inside another; a rectangle the cell does not touch stays as it was.
    std::vector<QRectF> freeRects{{0, 0, 10, 10}, {20, 0, 5, 5}};
    SheetEngine::splitFreeRects(freeRects, {4, 4, 2, 2});
    EXPECT_EQ(freeRects, (std::vector<QRectF>{{0, 0, 4, 10}, {6, 0, 4, 10}, {0, 0, 10, 4}, {0, 6, 10, 4}, {20, 0, 5, 5}}));

    // A cell in the corner of the first: its left and upper remainders lie inside
    // the remainders of the second, wider rectangle, and go.
    freeRects = {{0, 0, 10, 4}, {0, 0, 10, 10}};
    SheetEngine::splitFreeRects(freeRects, {0, 0, 2, 2});
    EXPECT_EQ(freeRects, (std::vector<QRectF>{{2, 0, 8, 10}, {0, 2, 10, 8}}));
}

// Two remainders equal within the tolerance but not exactly: the earlier stays,
// so the free space they stand for is not lost.
TEST(SplitFreeRects, NearlyEqualRemaindersKeepTheEarlier)
{
    std::vector<QRectF> freeRects{{0, 0, 10, 10}, {0, 0, 10, 10 + 1e-12}};
    SheetEngine::splitFreeRects(freeRects, {0, 0, 2, 2});
    EXPECT_EQ(freeRects, (std::vector<QRectF>{{2, 0, 8, 10}, {0, 2, 10, 8}}));
}

TEST(SheetLayout, EqualAreasPutTheTallerCellFirst)
{
    // Cells 2 × 1 and 1 × 2 (no border or bleed): the tall one packs first.
    const std::vector<StickerItem> items{stickerItem(opaqueImage(200, 100), 2.0, 1),
                                         stickerItem(opaqueImage(100, 200), 1.0, 1)};
    const SheetLayout layout = SheetEngine::layout(items, settingsWith(PrintRegion::margins, 0.125, 0, 0), {});
    ASSERT_EQ(layout.placedCount, 2);
    EXPECT_EQ(layout.placements[0].itemID, items[1].id);
    EXPECT_TRUE(near3(layout.placements[0].rect, {0.25, 0.25, 1, 2}));
}

TEST(SheetLayout, SpacingZeroLetsCellsTouch)
{
    // Four cells of exactly a quarter of the 8 × 10.5 area fill it.
    const std::vector<StickerItem> items{stickerItem(opaqueImage(400, 525), 4.0, 5)};
    const SheetSettings settings = settingsWith(PrintRegion::margins, 0, 0, 0);
    const SheetLayout layout = SheetEngine::layout(items, settings, {});
    EXPECT_EQ(layout.requestedCount, 5);
    ASSERT_EQ(layout.placedCount, 4);
    checkLayout(layout, items, settings);
    EXPECT_TRUE(near3(layout.placements[3].rect, {4.25, 5.5, 4, 5.25}));
}

TEST(SheetLayout, PinsArePulledIntoTheAreaAndTheFirstKeepsASharedSpot)
{
    const std::vector<StickerItem> items{stickerItem(opaqueImage(100, 100), 1.0, 3)};
    const QString uuid = uuidString(items[0].id);
    const SheetSettings settings = settingsWith(PrintRegion::cricut);
    const SheetLayout layout = SheetEngine::layout(
        items, settings, {{uuid + "#0", QPointF(3, 3)}, {uuid + "#1", QPointF(3, 3)}, {uuid + "#2", QPointF(-5, 50)}});
    ASSERT_EQ(layout.placedCount, 3);
    checkLayout(layout, items, settings);
    // Pinned copies first, in sorted order: #0 at its pin, #2 clamped to the
    // lower-left corner of the area; #1 collided and was packed.
    EXPECT_EQ(layout.placements[0].instance, 0);
    EXPECT_TRUE(near3(layout.placements[0].rect, {3, 3, 1.22, 1.22}));
    EXPECT_EQ(layout.placements[1].instance, 2);
    EXPECT_TRUE(near3(layout.placements[1].rect, {0.875, 10.125 - 1.22, 1.22, 1.22}));
    EXPECT_EQ(layout.placements[2].instance, 1);
    EXPECT_FALSE(near3(layout.placements[2].rect, {3, 3, 1.22, 1.22}));
}

TEST(SheetLayout, LetterCricutStaysInsideItsBounds)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> width(0.4, 3.2), aspect(0.5, 2.0), pinAt(-1, 12);
    std::uniform_int_distribution<int> count(-1, 6);
    for (int round = 0; round < 20; ++round) {
        std::vector<StickerItem> items;
        SheetPins pins;
        for (int i = 0; i < 10; ++i) {
            const double a = aspect(random);
            items.push_back(stickerItem(opaqueImage(static_cast<int>(100 * a), 100), width(random), count(random)));
            if (i % 3 == 0)
                pins.insert(uuidString(items.back().id) + "#0", QPointF(pinAt(random), pinAt(random)));
        }
        const SheetSettings settings = settingsWith(PrintRegion::cricut);
        const SheetLayout layout = SheetEngine::layout(items, settings, pins);
        checkLayout(layout, items, settings);
        for (const SheetPlacement& p : layout.placements) {
            EXPECT_GE(p.rect.left(), 0.875 - 1e-9);
            EXPECT_GE(p.rect.top(), 0.875 - 1e-9);
            EXPECT_LE(p.rect.right(), 7.625 + 1e-9);
            EXPECT_LE(p.rect.bottom(), 10.125 + 1e-9);
        }
    }
}

// A count far beyond what fits neither hangs nor loses the count: the page
// fills, every copy asked for is reported, and a design that is full does not
// keep others from packing.
TEST(SheetLayout, HugeCountsFillThePageAndAreStillCounted)
{
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    const std::vector<StickerItem> items{stickerItem(opaqueImage(100, 100), 2.0, most),
                                         stickerItem(opaqueImage(100, 100), 2.0, most),
                                         stickerItem(opaqueImage(100, 100), 0.3, 3)};
    const SheetSettings settings = settingsWith(PrintRegion::margins);
    const SheetLayout layout = SheetEngine::layout(items, settings, {});
    EXPECT_EQ(layout.requestedCount, most);
    std::map<QUuid, int> placed;
    for (const SheetPlacement& p : layout.placements)
        ++placed[p.itemID];
    // 2.345-inch cells in 8.125 × 10.625: three columns, four rows; the small
    // design fits into the strips left over.
    EXPECT_EQ(placed[items[0].id], 12);
    EXPECT_EQ(placed[items[1].id], 0);
    EXPECT_EQ(placed[items[2].id], 3);

    const std::vector<StickerItem> thousand{stickerItem(opaqueImage(100, 100), 2.0, 1000)};
    const SheetLayout full = SheetEngine::layout(thousand, settings, {});
    EXPECT_EQ(full.requestedCount, 1000);
    EXPECT_EQ(full.placedCount, 12);
}

// Spacing that could not be honoured (negative, not a number, infinite) counts
// as none rather than stacking copies on one spot or failing them all.
TEST(SheetLayout, UnusableSpacingCountsAsNone)
{
    const std::vector<StickerItem> items{stickerItem(opaqueImage(100, 100), 2.0, 50)};
    const SheetLayout none = SheetEngine::layout(items, settingsWith(PrintRegion::margins, 0), {});
    for (const double spacing : {-2.0, std::nan(""), std::numeric_limits<double>::infinity()}) {
        const SheetSettings settings = settingsWith(PrintRegion::margins, spacing);
        const SheetLayout layout = SheetEngine::layout(items, settings, {});
        EXPECT_EQ(layout, none) << spacing;
    }
    EXPECT_EQ(none.placedCount, 12);
}

TEST(SheetLayout, DesignsWithoutAPrintableSizeAreOnlyCounted)
{
    std::vector<StickerItem> items{stickerItem(Image(), 2.0, 2), stickerItem(opaqueImage(10, 10), 0, 1),
                                   stickerItem(opaqueImage(10, 10), -1.0, 1),
                                   stickerItem(opaqueImage(10, 10), std::nan(""), 1),
                                   stickerItem(opaqueImage(10, 10), std::numeric_limits<double>::infinity(), 1)};
    const SheetLayout layout = SheetEngine::layout(items, SheetSettings{}, {});
    EXPECT_EQ(layout.requestedCount, 6);
    EXPECT_EQ(layout.placedCount, 0);
}
