#pragma once
// The listing presets: ready-made output settings for the places a cutout is
// sold or printed. The raw value is the text the preset picker shows.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class ListingPreset {
    etsy,
    amazon,
    shopify,
    instagram,
    sticker,
    appIcon,
    dtfShirt,
    dtfPocket,
    capFront,
    sublimation,
    htv,
};

constexpr RawValues<ListingPreset, 11> rawValues(ListingPreset)
{
    return {{
        {ListingPreset::etsy, u"Etsy listing"},
        {ListingPreset::amazon, u"Amazon main image"},
        {ListingPreset::shopify, u"Shopify product"},
        {ListingPreset::instagram, u"Instagram post"},
        {ListingPreset::sticker, u"iMessage sticker"},
        {ListingPreset::appIcon, u"App icon"},
        {ListingPreset::dtfShirt, u"DTF / DTG shirt (12 × 16 in)"},
        {ListingPreset::dtfPocket, u"Pocket print (4 × 4 in)"},
        {ListingPreset::capFront, u"Cap front (3 × 2.25 in)"},
        {ListingPreset::sublimation, u"Sublimation shirt (12 × 16 in)"},
        {ListingPreset::htv, u"HTV / iron-on (SVG, mirrored)"},
    }};
}

} // namespace zephrin
