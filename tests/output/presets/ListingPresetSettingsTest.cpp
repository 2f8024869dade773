#include "output/presets/ListingPresetSettings.h"

#include <gtest/gtest.h>

#include <optional>

using namespace zephrin;

namespace {

constexpr RGBAColor kBlue{0.1, 0.2, 0.9, 1};
constexpr RGBAColor kWhite{1, 1, 1, 1};

// Settings in which every field differs from its default, so that a preset
// that overwrites what it should keep shows.
CompositeSettings userSettings(bool mirror)
{
    CompositeSettings s;
    s.crop = QRectF(10, 20, 300, 400);
    s.mirror = mirror;
    s.colorMode = ColorMode::tint;
    s.fillColor = {0.3, 0.3, 0.3, 1};
    s.tintStrength = 55;
    s.subjectAdjust.exposure = 0.4;
    s.backgroundAdjust.warmth = -0.2;
    s.backgroundMode = BackgroundMode::image;
    s.backgroundColor = kBlue;
    s.edgeBlend = 12;
    s.backgroundBlur = 7;
    s.shadowEnabled = true;
    s.shadowOffsetY = -3;
    s.outlineEnabled = false;
    s.outlineWidth = 5;
    s.outlineColor = {1, 0, 0, 1};
    s.trimToContent = false;
    s.padding = 33;
    s.aspect = AspectPreset::story;
    s.shapeCrop = ShapeCrop::circle;
    s.cornerRadius = 3;
    TextLayer label;
    label.text = QStringLiteral("SALE");
    s.texts = {label};
    return s;
}

struct Row {
    ListingPreset preset;
    AspectPreset aspect;
    double padding;
    std::optional<BackgroundMode> backgroundMode;   // absent: kept
    std::optional<RGBAColor> backgroundColor;
    std::optional<bool> mirror;
    bool stickerOutline;
    ExportDefaults exports;
};

const Row kRows[] = {
    {ListingPreset::etsy, AspectPreset::fourThree, 8, {}, {}, {}, false, {ExportFormat::png, 2700}},
    {ListingPreset::amazon, AspectPreset::square, 6, BackgroundMode::color, kWhite, {}, false, {ExportFormat::jpg, 2000}},
    {ListingPreset::shopify, AspectPreset::square, 8, {}, {}, {}, false, {ExportFormat::png, 2048}},
    {ListingPreset::instagram, AspectPreset::square, 10, {}, {}, {}, false, {ExportFormat::png, 1080}},
    {ListingPreset::sticker, AspectPreset::square, 4, BackgroundMode::transparent, {}, {}, true, {ExportFormat::png, 618}},
    {ListingPreset::appIcon, AspectPreset::square, 12, BackgroundMode::color, {}, {}, false, {ExportFormat::png, 1024}},
    {ListingPreset::dtfShirt, AspectPreset::original, 2, BackgroundMode::transparent, {}, false, false, {ExportFormat::png, 4800}},
    {ListingPreset::dtfPocket, AspectPreset::square, 4, BackgroundMode::transparent, {}, false, false, {ExportFormat::png, 1200}},
    {ListingPreset::capFront, AspectPreset::fourThree, 4, BackgroundMode::transparent, {}, false, false, {ExportFormat::png, 900}},
    {ListingPreset::sublimation, AspectPreset::original, 2, BackgroundMode::transparent, {}, false, false, {ExportFormat::png, 4800}},
    {ListingPreset::htv, AspectPreset::original, 2, BackgroundMode::transparent, {}, true, false, {ExportFormat::svg, 2048}},
};

} // namespace

TEST(ListingPresetSettings, EveryPresetSetsItsFramingAndKeepsTheRest)
{
    ASSERT_EQ(std::size(kRows), allCases<ListingPreset>().size());
    for (const Row& row : kRows) {
        SCOPED_TRACE(rawValue(row.preset).toStdString());
        for (const bool mirrored : {false, true}) {
            const CompositeSettings before = userSettings(mirrored);
            const CompositeSettings after = compositeSettings(row.preset, before);
            EXPECT_TRUE(after.trimToContent);
            EXPECT_EQ(after.shapeCrop, ShapeCrop::none);
            EXPECT_EQ(after.aspect, row.aspect);
            EXPECT_EQ(after.padding, row.padding);
            EXPECT_EQ(after.backgroundMode, row.backgroundMode ? *row.backgroundMode : BackgroundMode::image);
            EXPECT_EQ(after.backgroundColor, row.backgroundColor ? *row.backgroundColor : kBlue);
            EXPECT_EQ(after.mirror, row.mirror ? *row.mirror : mirrored);
            EXPECT_EQ(after.outlineEnabled, row.stickerOutline);
            EXPECT_EQ(after.outlineWidth, row.stickerOutline ? 14 : 5);
            EXPECT_EQ(after.outlineColor, row.stickerOutline ? kWhite : (RGBAColor{1, 0, 0, 1}));
            // Everything a preset does not frame stays as the user set it.
            EXPECT_EQ(after.crop, QRectF(10, 20, 300, 400));
            EXPECT_EQ(after.colorMode, ColorMode::tint);
            EXPECT_EQ(after.tintStrength, 55);
            EXPECT_EQ(after.subjectAdjust.exposure, 0.4);
            EXPECT_EQ(after.backgroundAdjust.warmth, -0.2);
            EXPECT_EQ(after.edgeBlend, 12);
            EXPECT_EQ(after.backgroundBlur, 7);
            EXPECT_TRUE(after.shadowEnabled);
            EXPECT_EQ(after.shadowOffsetY, -3);
            EXPECT_EQ(after.cornerRadius, 3);
            ASSERT_EQ(after.texts.size(), 1);
            EXPECT_EQ(after.texts[0].text, "SALE");
        }
        EXPECT_EQ(exportDefaults(row.preset), row.exports);
    }
}

TEST(ListingPresetSettings, OnlyAmazonForcesWhiteAppIconKeepsTheColour)
{
    const CompositeSettings blue = userSettings(false);
    const CompositeSettings icon = compositeSettings(ListingPreset::appIcon, blue);
    EXPECT_EQ(icon.backgroundMode, BackgroundMode::color);
    EXPECT_EQ(icon.backgroundColor, kBlue);
    const CompositeSettings amazon = compositeSettings(ListingPreset::amazon, blue);
    EXPECT_EQ(amazon.backgroundMode, BackgroundMode::color);
    EXPECT_EQ(amazon.backgroundColor, kWhite);
}

TEST(ListingPresetSettings, MirroringFollowsTheLastPresetThatSetsIt)
{
    const CompositeSettings ironOn = compositeSettings(ListingPreset::htv, CompositeSettings());
    EXPECT_TRUE(ironOn.mirror);
    EXPECT_TRUE(compositeSettings(ListingPreset::sticker, ironOn).mirror);
    EXPECT_FALSE(compositeSettings(ListingPreset::dtfShirt, ironOn).mirror);
}
