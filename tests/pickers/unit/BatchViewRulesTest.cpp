// The batch views' arithmetic and texts.

#include "pickers/BatchViewRules.h"

#include <gtest/gtest.h>

namespace zephrin::batchview {

TEST(BatchViewRules, TheNearestLongEdgeTakesTheSmallerSizeOnATie)
{
    EXPECT_EQ(nearestLongEdge(1290), 1080);   // 210 from 1080 and from 1500
    EXPECT_EQ(nearestLongEdge(1291), 1500);
    EXPECT_EQ(nearestLongEdge(2700), 2400);   // 300 from 2400 and from 3000
    EXPECT_EQ(nearestLongEdge(0), 1080);
    EXPECT_EQ(nearestLongEdge(-5), 1080);
    EXPECT_EQ(nearestLongEdge(1 << 30), 4000);
    EXPECT_EQ(nearestLongEdge(4800), 4000);
    for (int pixels : longEdgeChoices())
        EXPECT_EQ(nearestLongEdge(pixels), pixels);
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
    EXPECT_EQ(presetSummary(ListingPreset::amazon), QStringLiteral("Exports JPG at 2000 px long edge."));
    EXPECT_EQ(presetSummary(ListingPreset::etsy), QStringLiteral("Exports PNG at 2700 px long edge."));
    EXPECT_EQ(failureNote(1), QStringLiteral("1 image couldn't be processed. Tap a red tile to open it in the editor."));
    EXPECT_EQ(failureNote(2), QStringLiteral("2 images couldn't be processed. Tap a red tile to open it in the editor."));
    EXPECT_EQ(folderMessage(1), QStringLiteral("Choose a folder for the 1 cutout."));
    EXPECT_EQ(progressText(3, 5), QStringLiteral("Cutting image 3 of 5…"));
}

} // namespace zephrin::batchview
