// The text and label controls' numbers: slider ranges in the units shown,
// value texts (snapped to the slider step before rounding or truncating),
// and the colour the effect chips write.

#include "pickers/text/TextLayerControls.h"

#include <gtest/gtest.h>

namespace zephrin::textcontrols {
namespace {

TEST(TextLayerControls, SlidersShowPercentOfTheStoredFractions)
{
    const auto size = slider("size");
    ASSERT_TRUE(size);
    EXPECT_EQ(size->scale, 100);
    EXPECT_DOUBLE_EQ(size->shown.lower, 2);
    EXPECT_DOUBLE_EQ(size->shown.upper, 40);
    EXPECT_EQ(size->shown.step, 0.5);
    EXPECT_EQ(slider("outline")->shown.step, 0.5);
    EXPECT_DOUBLE_EQ(slider("outline")->shown.upper, 25);
    EXPECT_DOUBLE_EQ(slider("effectSize")->shown.lower, 5);
    EXPECT_EQ(slider("border")->shown.step, 0.5);
    EXPECT_DOUBLE_EQ(slider("border")->shown.upper, 15);
    EXPECT_DOUBLE_EQ(slider("labelFill")->shown.lower, 30);
    EXPECT_DOUBLE_EQ(slider("shapeW")->shown.lower, 4);
    EXPECT_DOUBLE_EQ(slider("shapeH")->shown.upper, 200);
    // The curve is shown as it is stored.
    EXPECT_EQ(slider("curve")->scale, 1);
    EXPECT_EQ(slider("curve")->shown.lower, -100);
    EXPECT_FALSE(slider("fontName"));
    EXPECT_EQ(valueText("fontName", 3), "");
}

TEST(TextLayerControls, SizeRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(valueText("size", 2), "2%");
    EXPECT_EQ(valueText("size", 40), "40%");
    EXPECT_EQ(valueText("size", 12.5), "13%");   // a size of 0.125
    EXPECT_EQ(valueText("size", 14.5), "15%");
    EXPECT_EQ(valueText("size", 0.145 * 100), "15%");   // 14.499999… as stored
}

TEST(TextLayerControls, OutlineAndBorderReadOffBelowAQuarter)
{
    for (const char* field : {"outline", "border"}) {
        EXPECT_EQ(valueText(field, 0), "Off") << field;
        EXPECT_EQ(valueText(field, 0.2), "Off") << field;    // a stored 0.002
        EXPECT_EQ(valueText(field, 0.5), "1%") << field;     // a stored 0.005 rounds up
        EXPECT_EQ(valueText(field, 12.5), "13%") << field;
    }
}

TEST(TextLayerControls, TruncatingTextsSnapToTheStepFirst)
{
    // 0.57 × 100 is 56.999…: snapped it reads 57, never 56.
    EXPECT_EQ(valueText("effectSize", 0.57 * 100), "57%");
    EXPECT_EQ(valueText("labelFill", 0.85 * 100), "85%");
    EXPECT_EQ(valueText("shapeW", 0.29 * 100), "29%");
    EXPECT_EQ(valueText("shapeH", 200), "200%");
    EXPECT_EQ(valueText("shapeW", 4), "4%");
}

TEST(TextLayerControls, CurveNamesItsDirection)
{
    EXPECT_EQ(valueText("curve", 0), "Straight");
    EXPECT_EQ(valueText("curve", 0.4), "Straight");
    EXPECT_EQ(valueText("curve", 30), "Arch 30");
    EXPECT_EQ(valueText("curve", 100), "Arch 100");
    EXPECT_EQ(valueText("curve", -45), "Smile 45");
    EXPECT_EQ(valueText("curve", -100), "Smile 100");
}

TEST(TextLayerControls, EffectChipsSetTheirColours)
{
    const RGBAColor defaultShadow{0, 0, 0, 0.6};
    const RGBAColor opaqueRed{1, 0, 0, 1};
    EXPECT_EQ(effectColorFor("glow", defaultShadow), (RGBAColor{1, 1, 1, 0.9}));
    EXPECT_EQ(effectColorFor("glow", opaqueRed), std::nullopt);
    EXPECT_EQ(effectColorFor("glow", RGBAColor{0, 1, 0, 0.9}), std::nullopt);
    EXPECT_EQ(effectColorFor("shadow", opaqueRed), defaultShadow);
    EXPECT_EQ(effectColorFor("none", opaqueRed), std::nullopt);
    EXPECT_EQ(effectTitle("none"), "No Effect");
    EXPECT_EQ(effectTitle("shadow"), "Shadow");
    EXPECT_EQ(effectTitle("glow"), "Glow");
}

} // namespace
} // namespace zephrin::textcontrols
