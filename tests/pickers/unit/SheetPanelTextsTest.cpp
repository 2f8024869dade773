// What the sticker-sheet panel and its rows say and allow.

#include "pickers/SheetPanelTexts.h"

#include <gtest/gtest.h>

namespace zephrin::sheetpanel {

TEST(SheetPanelTexts, PackingStatus)
{
    EXPECT_EQ(packingStatus(1, 1), QStringLiteral("1 sticker placed"));
    EXPECT_EQ(packingStatus(6, 6), QStringLiteral("6 stickers placed"));
    EXPECT_EQ(packingStatus(4, 7), QStringLiteral("4 placed, 3 didn't fit — reduce size or count"));
    EXPECT_EQ(packingStatus(0, 2), QStringLiteral("0 placed, 2 didn't fit — reduce size or count"));
    EXPECT_TRUE(allPlaced(6, 6));
    EXPECT_FALSE(allPlaced(0, 2));
}

TEST(SheetPanelTexts, SliderReadOutsAndNotes)
{
    EXPECT_EQ(borderText(0), QStringLiteral("None"));
    EXPECT_EQ(borderText(0.12), QStringLiteral("0.12 in"));
    EXPECT_EQ(bleedText(0), QStringLiteral("None"));
    EXPECT_EQ(bleedText(0.005), QStringLiteral("0.005 in"));
    EXPECT_EQ(spacingText(0.03), QStringLiteral("0.03 in"));
    EXPECT_EQ(spacingText(0), QStringLiteral("0.00 in"));  // never "None"
    const QString letter = QStringLiteral("US Letter");
    EXPECT_EQ(regionNote(QStringLiteral("Printer margins"), letter),
              QStringLiteral("Full sheet with ¼ in margin, no cutter constraints."));
    EXPECT_TRUE(regionNote(QStringLiteral("Plotter"), letter).isEmpty());
    EXPECT_TRUE(regionNote(QStringLiteral("Printer margins"), QStringLiteral("A3")).isEmpty());
}

// The cutter's usable area is the one of the paper chosen: the cutter's own
// 6.75 × 9.25 in where the paper holds it, less on smaller paper.
TEST(SheetPanelTexts, TheCutterNoteGivesTheChosenPapersUsableArea)
{
    const QString cutter = QStringLiteral("Cricut Print then Cut");
    const QString rest = QStringLiteral(" in usable area, centered (Explore / Maker).");
    EXPECT_EQ(regionNote(cutter, QStringLiteral("US Letter")), QStringLiteral("6.75 × 9.25") + rest);
    EXPECT_EQ(regionNote(cutter, QStringLiteral("4 × 6 in")), QStringLiteral("3.5 × 5.5") + rest);
    EXPECT_TRUE(exportNote(300).startsWith(QStringLiteral("300 DPI, transparent outside stickers.")));
}

TEST(SheetPanelTexts, WidthFieldFollowsTheLocale)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(widthText(3, english), QStringLiteral("3"));
    EXPECT_EQ(widthText(2.75, english), QStringLiteral("2.75"));
    EXPECT_EQ(widthText(2.756, english), QStringLiteral("2.76"));
    EXPECT_EQ(widthText(2.5, german), QStringLiteral("2,5"));
    EXPECT_EQ(parseWidth(QStringLiteral("2,5"), german), 2.5);
    EXPECT_EQ(parseWidth(QStringLiteral(" 1.25 "), english), 1.25);
    EXPECT_FALSE(parseWidth(QStringLiteral("wide"), english));
    EXPECT_FALSE(parseWidth(QStringLiteral("inf"), english));
}

TEST(SheetPanelTexts, EnablingMatrix)
{
    EXPECT_TRUE(enabling(true, false, false).addCutout);
    EXPECT_FALSE(enabling(false, true, false).addCutout);
    // An exportable render: both, but the print image not while work runs.
    EXPECT_TRUE(enabling(false, true, false).exportPNG);
    EXPECT_FALSE(enabling(false, true, true).exportPNG);
    EXPECT_TRUE(enabling(false, true, true).exportSVG);
    // None, or a pending or failed layout: neither.
    EXPECT_FALSE(enabling(true, false, false).exportPNG);
    EXPECT_FALSE(enabling(true, false, false).exportSVG);
}

} // namespace zephrin::sheetpanel
