#include "engine/types/AspectPreset.h"
#include "engine/types/BackgroundMode.h"
#include "engine/types/ColorMode.h"
#include "engine/types/EdgeRefineMode.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/ListingPreset.h"
#include "engine/types/MatteModel.h"
#include "engine/types/ShapeCrop.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace zephrin;

namespace {

// The cases in picker order with their raw values (UTF-8), both ways round.
template <RawEnum E>
void checkRawValues(const std::vector<std::pair<E, std::string>>& expected)
{
    const auto cases = allCases<E>();
    ASSERT_EQ(cases.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [value, raw] = expected[i];
        EXPECT_TRUE(cases[i] == value) << "case " << i << " out of order";
        EXPECT_EQ(rawValue(value).toStdString(), raw);
        EXPECT_TRUE(fromRaw<E>(QString::fromStdString(raw)) == value) << raw;
    }
}

} // namespace

TEST(Enumerations, RawValuesInPickerOrder)
{
    checkRawValues<EdgeRefineMode>({{EdgeRefineMode::smooth, "smooth"},
                                    {EdgeRefineMode::detail, "detail"},
                                    {EdgeRefineMode::contrast, "contrast"}});
    checkRawValues<ExportFormat>({{ExportFormat::png, "PNG"},
                                  {ExportFormat::jpg, "JPG"},
                                  {ExportFormat::webp, "WebP"},
                                  {ExportFormat::heic, "HEIC"},
                                  {ExportFormat::svg, "SVG"}});
    checkRawValues<ListingPreset>({{ListingPreset::etsy, "Etsy listing"},
                                   {ListingPreset::amazon, "Amazon main image"},
                                   {ListingPreset::shopify, "Shopify product"},
                                   {ListingPreset::instagram, "Instagram post"},
                                   {ListingPreset::sticker, "iMessage sticker"},
                                   {ListingPreset::appIcon, "App icon"},
                                   {ListingPreset::dtfShirt, "DTF / DTG shirt (12 \u00d7 16 in)"},
                                   {ListingPreset::dtfPocket, "Pocket print (4 \u00d7 4 in)"},
                                   {ListingPreset::capFront, "Cap front (3 \u00d7 2.25 in)"},
                                   {ListingPreset::sublimation, "Sublimation shirt (12 \u00d7 16 in)"},
                                   {ListingPreset::htv, "HTV / iron-on (SVG, mirrored)"}});
    checkRawValues<AspectPreset>({{AspectPreset::original, "Original"},
                                  {AspectPreset::square, "1:1"},
                                  {AspectPreset::fourThree, "4:3"},
                                  {AspectPreset::portrait, "4:5"},
                                  {AspectPreset::landscape, "3:2"},
                                  {AspectPreset::wide, "16:9"},
                                  {AspectPreset::story, "9:16"}});
    checkRawValues<BackgroundMode>({{BackgroundMode::transparent, "Transparent"},
                                    {BackgroundMode::color, "Color"},
                                    {BackgroundMode::original, "Original"},
                                    {BackgroundMode::image, "Image"}});
    checkRawValues<ShapeCrop>(
        {{ShapeCrop::none, "None"}, {ShapeCrop::circle, "Circle"}, {ShapeCrop::rounded, "Rounded"}});
    checkRawValues<ColorMode>({{ColorMode::none, "None"}, {ColorMode::fill, "Fill"}, {ColorMode::tint, "Tint"}});
    checkRawValues<MatteModel>({{MatteModel::apple, "Subject Lift"}, {MatteModel::isnet, "IS-Net"}});
}

TEST(Enumerations, FromRawRejectsUnlistedText)
{
    EXPECT_FALSE(fromRaw<AspectPreset>(u"5:4"));
    EXPECT_FALSE(fromRaw<AspectPreset>(u""));
    // The stored form is exact: no case folding, no look-alike characters.
    EXPECT_FALSE(fromRaw<ExportFormat>(u"png"));
    EXPECT_FALSE(fromRaw<EdgeRefineMode>(u"Smooth"));
    EXPECT_FALSE(fromRaw<ListingPreset>(u"DTF / DTG shirt (12 x 16 in)"));
    EXPECT_FALSE(fromRaw<BackgroundMode>(u"Transparent "));
    // The platform's label is not a stored value of this build.
    EXPECT_FALSE(fromRaw<MatteModel>(u"Apple Vision"));
}
