// The compliance rows of the listing presets, from the values they read.

#include "model/editor/ListingCompliance.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zephrin {
namespace {

ComplianceInputs inputs(int width, int height)
{
    ComplianceInputs in;
    in.composite = QSize(width, height);
    in.exportLongEdge = 2400;
    return in;
}

const ComplianceItem& row(const std::vector<ComplianceItem>& items, const QString& start)
{
    const auto it = std::find_if(items.begin(), items.end(), [&](const ComplianceItem& i) { return i.text.startsWith(start); });
    EXPECT_NE(it, items.end()) << qPrintable(start);
    static const ComplianceItem none;
    return it == items.end() ? none : *it;
}

TEST(ListingCompliance, TheOutputSideIsTheCompositeCappedAtTheExportSize)
{
    auto items = complianceItems(ListingPreset::appIcon, inputs(1024, 1024));
    EXPECT_TRUE(row(items, "1024 px master").ok);
    EXPECT_EQ(row(items, "1024 px master").text, "1024 px master");
    items = complianceItems(ListingPreset::appIcon, inputs(800, 800));
    EXPECT_EQ(row(items, "1024 px master").text, "1024 px master (now 800 px)");
    EXPECT_FALSE(row(items, "1024 px master").ok);

    items = complianceItems(ListingPreset::etsy, inputs(3000, 2250));
    EXPECT_EQ(items[0].text, "Longest side ≥ 2000 px (now 2400 px)");
    EXPECT_TRUE(items[0].ok);

    items = complianceItems(ListingPreset::dtfShirt, inputs(3000, 2250));
    EXPECT_EQ(row(items, "300 DPI").text, "300 DPI at print size: ≥ 4800 px (now 2400 px)");
    EXPECT_FALSE(row(items, "300 DPI").ok);

    // A sticker must stay small.
    EXPECT_FALSE(row(complianceItems(ListingPreset::sticker, inputs(619, 619)), "≤ 618 px").ok);
    EXPECT_TRUE(row(complianceItems(ListingPreset::sticker, inputs(618, 618)), "≤ 618 px").ok);

    // A drawing is written at the export size, whatever the picture measures.
    ComplianceInputs traced = inputs(800, 600);
    traced.exportFormat = ExportFormat::svg;
    traced.exportLongEdge = 2700;
    EXPECT_EQ(complianceItems(ListingPreset::etsy, traced)[0].text, "Longest side ≥ 2000 px (now 2700 px)");
}

TEST(ListingCompliance, SquareMeansADeviationBelowOnePercent)
{
    EXPECT_FALSE(row(complianceItems(ListingPreset::shopify, inputs(1010, 1000)), "Square").ok);
    EXPECT_TRUE(row(complianceItems(ListingPreset::shopify, inputs(1009, 1000)), "Square").ok);

    // Instagram takes a square result whatever the aspect setting, or 4:5.
    ComplianceInputs in = inputs(1000, 1000);
    in.comp.aspect = AspectPreset::original;
    EXPECT_TRUE(row(complianceItems(ListingPreset::instagram, in), "1:1 or 4:5").ok);
    in.composite = QSize(800, 1000);
    EXPECT_FALSE(row(complianceItems(ListingPreset::instagram, in), "1:1 or 4:5").ok);
    in.comp.aspect = AspectPreset::portrait;
    EXPECT_TRUE(row(complianceItems(ListingPreset::instagram, in), "1:1 or 4:5").ok);
}

TEST(ListingCompliance, BackgroundRules)
{
    ComplianceInputs in = inputs(2000, 2000);
    in.comp.backgroundMode = BackgroundMode::color;
    in.comp.backgroundColor = {1, 1, 1, 1};
    EXPECT_TRUE(row(complianceItems(ListingPreset::amazon, in), "Pure white").ok);
    in.comp.backgroundColor = {0.999, 1, 1, 1};
    EXPECT_FALSE(row(complianceItems(ListingPreset::amazon, in), "Pure white").ok);
    in.comp.backgroundMode = BackgroundMode::original;
    in.comp.backgroundColor = {1, 1, 1, 1};
    EXPECT_FALSE(row(complianceItems(ListingPreset::amazon, in), "Pure white").ok);

    // Opaque: colour and original always, a picture background only with its picture.
    EXPECT_TRUE(row(complianceItems(ListingPreset::appIcon, in), "No transparency").ok);
    in.comp.backgroundMode = BackgroundMode::image;
    EXPECT_FALSE(row(complianceItems(ListingPreset::appIcon, in), "No transparency").ok);
    EXPECT_TRUE(row(complianceItems(ListingPreset::sticker, in), "Transparent background").ok);
    in.hasBackgroundImage = true;
    EXPECT_TRUE(row(complianceItems(ListingPreset::appIcon, in), "No transparency").ok);
    EXPECT_FALSE(row(complianceItems(ListingPreset::dtfPocket, in), "Transparent background").ok);
}

// The checks judge the file written: a raster export without alpha (the
// switch off, or JPG) is flattened on white, transparent background or not.
TEST(ListingCompliance, AFileWithoutAlphaKeepsNoTransparency)
{
    const struct {
        ExportFormat format;
        bool transparentSwitch;
        bool transparentFile;
    } cases[] = {{ExportFormat::png, true, true},  {ExportFormat::png, false, false},
                 {ExportFormat::webp, false, false}, {ExportFormat::jpg, true, false},
                 {ExportFormat::svg, false, true}};
    for (const auto& c : cases) {
        ComplianceInputs in = inputs(600, 600);
        in.comp.backgroundMode = BackgroundMode::transparent;
        in.exportFormat = c.format;
        in.transparentBackground = c.transparentSwitch;
        const std::string name = rawValue(c.format).toStdString() + (c.transparentSwitch ? ", switch on" : ", switch off");
        EXPECT_EQ(row(complianceItems(ListingPreset::sticker, in), "Transparent background").ok, c.transparentFile) << name;
        EXPECT_EQ(row(complianceItems(ListingPreset::appIcon, in), "No transparency").ok, !c.transparentFile) << name;
    }
}

TEST(ListingCompliance, AddedGraphicsAreAShapeCropAnOutlineOrText)
{
    ComplianceInputs in = inputs(2000, 2000);
    EXPECT_EQ(row(complianceItems(ListingPreset::amazon, in), "No shape crop").text, "No shape crop or added graphics");
    EXPECT_TRUE(row(complianceItems(ListingPreset::amazon, in), "No shape crop").ok);
    in.comp.outlineEnabled = true;  // a sticker outline is a border round the product
    ComplianceItem graphics = row(complianceItems(ListingPreset::amazon, in), "No shape crop");
    EXPECT_FALSE(graphics.ok);
    EXPECT_EQ(graphics.text, "No shape crop or added graphics (now outline)");
    in.comp.shapeCrop = ShapeCrop::rounded;
    in.comp.texts.append(TextLayer{});
    graphics = row(complianceItems(ListingPreset::amazon, in), "No shape crop");
    EXPECT_EQ(graphics.text, "No shape crop or added graphics (now shape crop, outline, text layers)");
}

TEST(ListingCompliance, FormatRules)
{
    ComplianceInputs in = inputs(3000, 3000);
    in.exportFormat = ExportFormat::heic;
    EXPECT_TRUE(row(complianceItems(ListingPreset::shopify, in), "Raster format").ok);
    EXPECT_FALSE(row(complianceItems(ListingPreset::etsy, in), "JPEG or PNG").ok);
    in.exportFormat = ExportFormat::svg;
    EXPECT_FALSE(row(complianceItems(ListingPreset::shopify, in), "Raster format").ok);
    EXPECT_TRUE(row(complianceItems(ListingPreset::htv, in), "SVG cut file").ok);
    in.exportFormat = ExportFormat::jpg;
    EXPECT_TRUE(row(complianceItems(ListingPreset::amazon, in), "JPEG or PNG").ok);
    EXPECT_FALSE(row(complianceItems(ListingPreset::sticker, in), "PNG with transparency").ok);
}

TEST(ListingCompliance, ShareRowsShowRoundedPercentages)
{
    ComplianceInputs in = inputs(1000, 1000);
    in.comp.trimToContent = true;
    in.subjectFill = 0.85;
    EXPECT_EQ(row(complianceItems(ListingPreset::amazon, in), "Product").text, "Product fills ≥ 85% of frame (now 85%)");
    EXPECT_TRUE(row(complianceItems(ListingPreset::amazon, in), "Product").ok);
    // Unmet, it says what keeps the product small.
    in.subjectFill = 0.846;
    EXPECT_EQ(row(complianceItems(ListingPreset::amazon, in), "Product").text,
              "Product fills ≥ 85% of frame (now 85%; lower Padding)");
    EXPECT_FALSE(row(complianceItems(ListingPreset::amazon, in), "Product").ok);
    in.comp.outlineEnabled = true;
    EXPECT_EQ(row(complianceItems(ListingPreset::amazon, in), "Product").text,
              "Product fills ≥ 85% of frame (now 85%; turn the outline off)");
    in.comp.shadowEnabled = true;
    EXPECT_EQ(row(complianceItems(ListingPreset::amazon, in), "Product").text,
              "Product fills ≥ 85% of frame (now 85%; turn the shadow down or off)");
    in.comp.trimToContent = false;
    in.subjectFill.reset();   // unmeasured counts as empty
    EXPECT_EQ(row(complianceItems(ListingPreset::amazon, in), "Product").text,
              "Product fills ≥ 85% of frame (now 0%; turn on Trim to subject)");

    in.subjectWhiteFraction = 0.15;
    const ComplianceItem white = row(complianceItems(ListingPreset::sublimation, in), "Little or no white");
    EXPECT_EQ(white.text, "Little or no white in the design (sublimation can't print white; now 15% white)");
    EXPECT_FALSE(white.ok);
}

TEST(ListingCompliance, EveryPresetHasItsRowsInOrderWithFreshIds)
{
    const std::vector<std::pair<ListingPreset, size_t>> counts{
        {ListingPreset::etsy, 3}, {ListingPreset::amazon, 5}, {ListingPreset::shopify, 3},
        {ListingPreset::instagram, 3}, {ListingPreset::sticker, 4}, {ListingPreset::appIcon, 4},
        {ListingPreset::dtfShirt, 4}, {ListingPreset::dtfPocket, 4}, {ListingPreset::capFront, 4},
        {ListingPreset::sublimation, 4}, {ListingPreset::htv, 3}};
    for (const auto& [preset, count] : counts)
        EXPECT_EQ(complianceItems(preset, inputs(500, 500)).size(), count) << qPrintable(rawValue(preset));

    const auto first = complianceItems(ListingPreset::capFront, inputs(500, 500));
    const auto second = complianceItems(ListingPreset::capFront, inputs(500, 500));
    EXPECT_EQ(first[2].text, "300 DPI at print size: ≥ 900 px (now 500 px)");
    EXPECT_EQ(first[3].text, "Not mirrored (mirroring is only for HTV)");
    EXPECT_NE(first[0].id, second[0].id);
    EXPECT_NE(first[0].id, first[1].id);
    EXPECT_TRUE(complianceItems(ListingPreset::etsy, inputs(0, 0)).empty());
}

TEST(ListingCompliance, SubjectFillIsTheLargerShare)
{
    EXPECT_DOUBLE_EQ(*subjectFillFraction(QSizeF(50, 90), QSize(100, 100)), 0.9);
    EXPECT_FALSE(subjectFillFraction(QSizeF(0, 90), QSize(100, 100)));
    EXPECT_FALSE(subjectFillFraction(QSizeF(50, 90), QSize(0, 0)));
}

} // namespace
} // namespace zephrin
