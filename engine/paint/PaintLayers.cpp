#include "engine/paint/PaintLayers.h"

#include "engine/paint/GradientPainter.h"
#include "engine/paint/StrokePainter.h"
#include "engine/pixel/ExtentLimits.h"


namespace zephrin {

namespace {

template <class Op>
Image& targetLayer(const Op& op, PaintLayers& layers, cv::Size size)
{
    std::optional<Image>& layer = op.blend == PaintBlend::solid ? layers.solid : layers.color;
    // A layer exists once an operation targets it, even one that draws nothing.
    if (!layer)
        layer = Image::transparent(size);
    return *layer;
}

} // namespace

std::optional<PaintLayers> PaintLayers::render(const std::vector<PaintOp>& ops, int width, int height)
{
    if (ops.empty() || width < 1 || height < 1)
        return std::nullopt;
    if (!withinLimits({width, height}))
        return std::nullopt;
    const cv::Size size(width, height);
    PaintLayers layers;
    for (const PaintOp& op : ops) {
        std::visit(
            [&](const auto& paint) {
                Image& layer = targetLayer(paint, layers, size);
                const PaintClip clip = PaintClip::of(paint.shape, paint.shapePoints, size);
                if constexpr (std::is_same_v<std::decay_t<decltype(paint)>, PaintStroke>)
                    paintStroke(layer, paint, clip);
                else
                    paintGradient(layer, paint, clip);
            },
            op);
    }
    return layers;
}

} // namespace zephrin
