// Backdrop::render: draw the style's detail small, soften, scale up to the
// requested size, then grain at full resolution.

#include "content/backdrops/Backdrop.h"
#include "content/backdrops/BackdropStyleDrawing.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/types/LowLevelFailure.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

// The long side of the working bitmap. Marble computes every pixel with 15
// noise samples, so it draws smaller.
constexpr double kWorkingLimit = 900;
constexpr double kMarbleWorkingLimit = 760;
constexpr int kMinimumSide = 8;
constexpr double kLargestSide = 32768;
constexpr double kLargestArea = double(1 << 28);

// A requested length as whole pixels: truncated, at least 8.
int wholePixels(double length)
{
    return std::max(static_cast<int>(std::trunc(std::min(length, kLargestSide))), kMinimumSide);
}

} // namespace

const RenderContext& Backdrop::renderContext()
{
    static const RenderContext context({QStringLiteral("Backdrop"), false});
    return context;
}

std::optional<QGradientStops> Backdrop::gradient(std::span<const RGBAColor> colors,
                                                 std::span<const double> locations)
{
    if (colors.empty() || colors.size() != locations.size())
        return std::nullopt;
    QGradientStops stops;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (!(locations[i] >= 0 && locations[i] <= 1))
            return std::nullopt;
        stops.append({locations[i], toQColor(colors[i])});
    }
    return stops;
}

std::optional<Image> Backdrop::render(double width, double height) const
{
    if (!std::isfinite(width) || !std::isfinite(height) || width > kLargestSide || height > kLargestSide)
        return std::nullopt;
    const int W = wholePixels(width);
    const int H = wholePixels(height);
    if (double(W) * H > kLargestArea)
        return std::nullopt;

    const double limit = std::holds_alternative<MarbleStyle>(style) ? kMarbleWorkingLimit : kWorkingLimit;
    const double s = std::min(limit / std::max(W, H), 1.0);
    const int w = std::max(static_cast<int>(s * W), kMinimumSide);
    const int h = std::max(static_cast<int>(s * H), kMinimumSide);

    return orNothing("backdrop render", [&]() -> std::optional<Image> {
        BackdropCanvas canvas(w, h);
        const BackdropFinish finish = drawBackdropStyle(canvas, style);

        Image detail(canvas.pixels);
        if (finish.blurSigma > 0)
            detail = gaussianBlur(detail, finish.blurSigma, EdgeMode::clamp);
        // The border keeps its colour, as scaling an image clamped to its extent would.
        const Image scaled = resized(detail, cv::Size(W, H));

        const cv::Rect extent(0, 0, W, H);
        const Image grained = addGrain(scaled, finish.fibers, finish.seed, extent, finish.grain);
        return Image(renderContext().render(grained, extent));
    });
}

} // namespace zephrin
