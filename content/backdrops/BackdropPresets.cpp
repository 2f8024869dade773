#include "content/backdrops/Backdrop.h"

namespace zephrin {

namespace {

constexpr RGBAColor rgb(double r, double g, double b) { return {r, g, b, 1}; }

std::vector<Backdrop> makePresets()
{
    using C = BackdropCategory;
    return {
        {"studio-white", "White", C::studio, StudioStyle{rgb(1, 1, 1), rgb(0.82, 0.82, 0.85)}},
        {"studio-warm", "Warm Gray", C::studio, StudioStyle{rgb(0.94, 0.91, 0.87), rgb(0.68, 0.64, 0.6)}},
        {"studio-cool", "Cool Gray", C::studio, StudioStyle{rgb(0.89, 0.91, 0.94), rgb(0.56, 0.6, 0.67)}},
        {"studio-charcoal", "Charcoal", C::studio, StudioStyle{rgb(0.34, 0.34, 0.37), rgb(0.07, 0.07, 0.09)}},
        {"studio-blush", "Blush", C::studio, StudioStyle{rgb(1, 0.91, 0.9), rgb(0.86, 0.68, 0.69)}},
        {"studio-sage", "Sage", C::studio, StudioStyle{rgb(0.89, 0.93, 0.87), rgb(0.6, 0.68, 0.58)}},
        {"table-white", "White Table", C::table, TableStyle{rgb(0.97, 0.97, 0.97), rgb(0.86, 0.86, 0.87)}},
        {"table-warm", "Warm Table", C::table, TableStyle{rgb(0.95, 0.91, 0.85), rgb(0.74, 0.61, 0.48)}},
        {"table-gray", "Gray Table", C::table, TableStyle{rgb(0.8, 0.82, 0.85), rgb(0.55, 0.57, 0.6)}},
        {"table-dark", "Dark Table", C::table, TableStyle{rgb(0.23, 0.23, 0.26), rgb(0.11, 0.11, 0.13)}},
        {"grad-sunset", "Sunset", C::gradient, LinearStyle{rgb(1, 0.8, 0.56), rgb(0.92, 0.42, 0.55)}},
        {"grad-ocean", "Ocean", C::gradient, LinearStyle{rgb(0.58, 0.82, 0.96), rgb(0.14, 0.33, 0.64)}},
        {"grad-lavender", "Lavender", C::gradient, LinearStyle{rgb(0.92, 0.87, 1), rgb(0.6, 0.5, 0.87)}},
        {"grad-mint", "Mint", C::gradient, LinearStyle{rgb(0.87, 0.98, 0.93), rgb(0.42, 0.78, 0.68)}},
        {"grad-peach", "Peach", C::gradient, LinearStyle{rgb(1, 0.93, 0.86), rgb(1, 0.72, 0.62)}},
        {"grad-night", "Night", C::gradient, LinearStyle{rgb(0.2, 0.17, 0.35), rgb(0.04, 0.04, 0.09)}},
        {"bokeh-gold", "Golden", C::bokeh,
         BokehStyle{rgb(0.22, 0.15, 0.07), {rgb(1, 0.85, 0.45), rgb(1, 0.7, 0.3), rgb(1, 0.95, 0.75)}, 11}},
        {"bokeh-blue", "Blue Hour", C::bokeh,
         BokehStyle{rgb(0.05, 0.09, 0.2), {rgb(0.45, 0.7, 1), rgb(0.3, 0.9, 1), rgb(0.75, 0.8, 1)}, 23}},
        {"bokeh-pastel", "Pastel", C::bokeh,
         BokehStyle{rgb(0.95, 0.92, 0.95), {rgb(1, 0.75, 0.85), rgb(0.75, 0.85, 1), rgb(0.85, 0.78, 1)}, 37}},
        {"bokeh-festive", "Festive", C::bokeh,
         BokehStyle{rgb(0.1, 0.05, 0.07), {rgb(1, 0.3, 0.3), rgb(1, 0.8, 0.4), rgb(0.4, 0.85, 0.5)}, 41}},
        {"tex-paper", "Paper", C::texture, TextureStyle{rgb(0.97, 0.96, 0.93), 0.05, 0.03, false, 5}},
        {"tex-linen", "Linen", C::texture, TextureStyle{rgb(0.92, 0.89, 0.84), 0.07, 0.02, true, 7}},
        {"tex-kraft", "Kraft", C::texture, TextureStyle{rgb(0.71, 0.57, 0.41), 0.08, 0.06, false, 9}},
        {"tex-concrete", "Concrete", C::texture, TextureStyle{rgb(0.62, 0.62, 0.61), 0.12, 0.1, false, 13}},
        // The marbles sit with the textures in the picker; their style decides the look.
        {"tex-marble", "Marble", C::texture, MarbleStyle{rgb(0.96, 0.96, 0.95), rgb(0.52, 0.53, 0.58), 17}},
        {"tex-marble-black", "Black Marble", C::texture,
         MarbleStyle{rgb(0.1, 0.1, 0.11), rgb(0.66, 0.62, 0.55), 19}},
    };
}

} // namespace

const std::vector<Backdrop>& Backdrop::presets()
{
    static const std::vector<Backdrop> presets = makePresets();
    return presets;
}

Backdrop Backdrop::custom(RGBAColor a, RGBAColor b, CustomBackdropShape shape)
{
    BackdropStyle style = shape == CustomBackdropShape::spotlight ? BackdropStyle(StudioStyle{a, b})
                                                                  : BackdropStyle(LinearStyle{a, b});
    return {QStringLiteral("custom"), QStringLiteral("Custom"), BackdropCategory::gradient, style};
}

} // namespace zephrin
