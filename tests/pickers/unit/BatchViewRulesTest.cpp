// The batch views' arithmetic and texts.

#include "pickers/BatchViewRules.h"

#include <gtest/gtest.h>

namespace zephrin::batchview {

// The menu shows the long edge the batch writes, also one the batch's own
// sizes do not offer (Settings' 1200); picking a size reads its pixels back.
TEST(BatchViewRules, TheLongEdgeMenuShowsTheSizeInUse)
{
    const QList<int> offered{1080, 1500, 2000, 2400, 3000, 4000};
    EXPECT_EQ(longEdgeOptions(2400), offered);
    EXPECT_EQ(longEdgeOptions(1200), (QList<int>{1080, 1200, 1500, 2000, 2400, 3000, 4000}));
    EXPECT_EQ(longEdgeOptions(800), (QList<int>{800, 1080, 1500, 2000, 2400, 3000, 4000}));
    EXPECT_EQ(longEdgeOptions(5000), (QList<int>{1080, 1500, 2000, 2400, 3000, 4000, 5000}));
    EXPECT_EQ(longEdgeOptions(0), offered);

    for (int pixels : longEdgeOptions(1200))
        EXPECT_EQ(longEdgePixels(longEdgeLabel(pixels)), pixels);
    EXPECT_EQ(longEdgeLabel(1200), QStringLiteral("1200 px"));
    EXPECT_EQ(longEdgePixels(QStringLiteral("px")), 0);
    EXPECT_EQ(longEdgePixels(QStringLiteral("-5 px")), 0);
    EXPECT_EQ(longEdgePixels(QStringLiteral("1200")), 0);
}

TEST(BatchViewRules, TilesFillTheGridBetweenTheirLimits)
{
    // 700 wide less two 16-pt margins: four tiles of 155 with 16-pt gaps.
    EXPECT_EQ(gridColumns(700), 4);
    EXPECT_DOUBLE_EQ(tileWidth(700), 155);
    // Too narrow for even one tile: one, narrower than the minimum.
    EXPECT_EQ(gridColumns(100), 1);
    EXPECT_DOUBLE_EQ(tileWidth(100), 68);
    // One tile with room to spare stops at the maximum.
    EXPECT_EQ(gridColumns(300), 1);
    EXPECT_DOUBLE_EQ(tileWidth(300), 210);
    // Exactly two minimum tiles.
    EXPECT_EQ(gridColumns(32 + 150 + 16 + 150), 2);
    EXPECT_EQ(gridColumns(32 + 150 + 16 + 149), 1);
}

TEST(BatchViewRules, Texts)
{
    EXPECT_EQ(presetSummary(ListingPreset::amazon),
              QStringLiteral("Exports JPG at 2000 px long edge. A smaller picture is not enlarged."));
    EXPECT_EQ(presetSummary(ListingPreset::etsy),
              QStringLiteral("Exports PNG at 2700 px long edge. A smaller picture is not enlarged."));
    EXPECT_EQ(presetSummary(ListingPreset::htv), QStringLiteral("Exports SVG at 2048 px long edge."));
    EXPECT_EQ(failureNote(1), QStringLiteral("1 image couldn't be processed. Click a red tile to open it in the editor."));
    EXPECT_EQ(failureNote(2), QStringLiteral("2 images couldn't be processed. Click a red tile to open it in the editor."));
    EXPECT_EQ(folderMessage(1), QStringLiteral("Choose a folder for the 1 cutout."));
    EXPECT_EQ(progressText(3, 5), QStringLiteral("Cutting image 3 of 5…"));
}

} // namespace zephrin::batchview
