#include "content/backdrops/BackdropStyleDrawing.h"

#include "content/backdrops/Backdrop.h"
#include "content/backdrops/SplitMix64.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace zephrin {

namespace {

// r, g and b multiplied and capped at 1; alpha kept.
RGBAColor scaled(const RGBAColor& c, double factor)
{
    return {std::min(c.r * factor, 1.0), std::min(c.g * factor, 1.0), std::min(c.b * factor, 1.0), c.a};
}

// All four components of a + t (b − a).
RGBAColor mixed(const RGBAColor& a, const RGBAColor& b, double t)
{
    return {a.r + t * (b.r - a.r), a.g + t * (b.g - a.g), a.b + t * (b.b - a.b), a.a + t * (b.a - a.a)};
}

template <std::size_t N>
QGradientStops stops(const std::array<RGBAColor, N>& colors, const std::array<double, N>& locations)
{
    // A gradient that can't be made is skipped: empty stops draw nothing.
    return Backdrop::gradient(colors, locations).value_or(QGradientStops{});
}

constexpr RGBAColor kClear{0, 0, 0, 0};

void vignette(BackdropCanvas& canvas, double diagonal, double darkness)
{
    const double w = canvas.width();
    const double h = canvas.height();
    canvas.radialGradient({0.5 * w, 0.5 * h}, 0.55 * diagonal,
                          stops<3>({kClear, kClear, RGBAColor{0, 0, 0, darkness}}, {0, 0.55, 1}));
}

struct StyleDrawer {
    BackdropCanvas& canvas;
    double w = canvas.width();
    double h = canvas.height();
    double longSide = std::max(w, h);
    double diagonal = std::hypot(w, h);

    BackdropFinish operator()(const StudioStyle& s) const
    {
        canvas.fill(s.edge);
        canvas.radialGradient({0.5 * w, 0.56 * h}, 0.62 * diagonal,
                              stops<3>({s.center, mixed(s.center, s.edge, 0.35), s.edge}, {0, 0.45, 1}));
        return {};
    }

    BackdropFinish operator()(const TableStyle& s) const
    {
        canvas.linearGradient({0, h}, {0, 0},
                              stops<5>({scaled(s.wall, 0.96), s.wall, scaled(s.wall, 0.92), s.surface,
                                        scaled(s.surface, 0.78)},
                                       {0, 0.3, 0.628, 0.652, 1}));
        canvas.radialGradient({0.5 * w, 0.8 * h}, 0.45 * diagonal,
                              stops<2>({RGBAColor{1, 1, 1, 0.2}, RGBAColor{1, 1, 1, 0}}, {0, 1}));
        vignette(canvas, diagonal, 0.2);
        return {};
    }

    BackdropFinish operator()(const LinearStyle& s) const
    {
        canvas.linearGradient({0, h}, {0.35 * w, 0}, stops<2>({s.top, s.bottom}, {0, 1}));
        canvas.radialGradient({0.2 * w, 0.9 * h}, 0.5 * diagonal,
                              stops<2>({RGBAColor{1, 1, 1, 0.14}, RGBAColor{1, 1, 1, 0}}, {0, 1}));
        return {};
    }

    BackdropFinish operator()(const BokehStyle& s) const
    {
        canvas.linearGradient({0, h}, {0, 0}, stops<2>({scaled(s.base, 1.25), scaled(s.base, 0.8)}, {0, 1}));
        // Without dots there is no circle colour, so no circles.
        SplitMix64 random(s.seed);
        for (std::size_t k = 0; k < 48 && !s.dots.empty(); ++k) {
            const double u1 = random.next();
            const double u2 = random.next();
            const double u3 = random.next();
            const double u4 = random.next();
            RGBAColor color = s.dots[k % s.dots.size()];
            color.a = 0.1 + 0.38 * u4;
            canvas.circle({u1 * w, u2 * h}, longSide * (0.09 * u3 * u3 + 0.02), color);
        }
        vignette(canvas, diagonal, 0.25);
        BackdropFinish finish;
        finish.blurSigma = 0.01 * longSide;
        return finish;
    }

    BackdropFinish operator()(const TextureStyle& s) const
    {
        canvas.fill(s.base);
        if (s.mottle > 0)
            mottle(canvas, s.mottle, s.seed);
        return {0, s.grain, s.fibers, s.seed};
    }

    BackdropFinish operator()(const MarbleStyle& s) const
    {
        canvas.fill(s.base);
        paintMarble(canvas, s.base, s.vein, s.seed);
        return {0.6, 0.02, false, s.seed};
    }
};

} // namespace

BackdropFinish drawBackdropStyle(BackdropCanvas& canvas, const BackdropStyle& style)
{
    return std::visit(StyleDrawer{canvas}, style);
}

} // namespace zephrin
