#include "output/presets/ListingPresetSettings.h"

#include <optional>

namespace zephrin {

namespace {

// One preset's framing; an absent value keeps what the settings hold.
struct Framing {
    AspectPreset aspect;
    double padding;   // percent of the trimmed box's longer side
    std::optional<BackgroundMode> backgroundMode;
    std::optional<RGBAColor> backgroundColor;
    std::optional<bool> mirror;
    bool stickerOutline;   // a white outline, 14 wide
};

constexpr RGBAColor kWhite{1, 1, 1, 1};
constexpr auto kTransparent = BackgroundMode::transparent;
constexpr std::nullopt_t kept = std::nullopt;

Framing framing(ListingPreset preset)
{
    using A = AspectPreset;
    switch (preset) {
    case ListingPreset::etsy: return {A::fourThree, 8, kept, kept, kept, false};
    // Marketplace main images must sit on pure white.
    case ListingPreset::amazon: return {A::square, 6, BackgroundMode::color, kWhite, kept, false};
    case ListingPreset::shopify: return {A::square, 8, kept, kept, kept, false};
    case ListingPreset::instagram: return {A::square, 10, kept, kept, kept, false};
    case ListingPreset::sticker: return {A::square, 4, kTransparent, kept, kept, true};
    // A solid background, in whatever colour the user chose.
    case ListingPreset::appIcon: return {A::square, 12, BackgroundMode::color, kept, kept, false};
    case ListingPreset::dtfShirt: return {A::original, 2, kTransparent, kept, false, false};
    case ListingPreset::dtfPocket: return {A::square, 4, kTransparent, kept, false, false};
    case ListingPreset::capFront: return {A::fourThree, 4, kTransparent, kept, false, false};
    case ListingPreset::sublimation: return {A::original, 2, kTransparent, kept, false, false};
    // Iron-on transfers are cut and pressed face down.
    case ListingPreset::htv: return {A::original, 2, kTransparent, kept, true, false};
    }
    return {A::original, 6, kept, kept, kept, false};
}

} // namespace

CompositeSettings compositeSettings(ListingPreset preset, const CompositeSettings& settings)
{
    const Framing f = framing(preset);
    CompositeSettings result = settings;
    result.trimToContent = true;
    result.shapeCrop = ShapeCrop::none;
    result.aspect = f.aspect;
    result.padding = f.padding;
    result.backgroundMode = f.backgroundMode.value_or(settings.backgroundMode);
    result.backgroundColor = f.backgroundColor.value_or(settings.backgroundColor);
    result.mirror = f.mirror.value_or(settings.mirror);
    if (f.stickerOutline) {
        result.outlineEnabled = true;
        result.outlineWidth = 14;
        result.outlineColor = kWhite;
    }
    return result;
}

ExportDefaults exportDefaults(ListingPreset preset)
{
    switch (preset) {
    case ListingPreset::etsy: return {ExportFormat::png, 2700};
    case ListingPreset::amazon: return {ExportFormat::jpg, 2000};
    case ListingPreset::shopify: return {ExportFormat::png, 2048};
    case ListingPreset::instagram: return {ExportFormat::png, 1080};
    case ListingPreset::sticker: return {ExportFormat::png, 618};
    case ListingPreset::appIcon: return {ExportFormat::png, 1024};
    case ListingPreset::dtfShirt: return {ExportFormat::png, 4800};      // 16 in
    case ListingPreset::dtfPocket: return {ExportFormat::png, 1200};     // 4 in
    case ListingPreset::capFront: return {ExportFormat::png, 900};       // 3 in
    case ListingPreset::sublimation: return {ExportFormat::png, 4800};   // 16 in
    case ListingPreset::htv: return {ExportFormat::svg, 2048};
    }
    return {ExportFormat::png, 2048};
}

} // namespace zephrin
