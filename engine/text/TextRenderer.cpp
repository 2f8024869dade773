#include "engine/text/TextRenderer.h"

#include "engine/pixel/YUpSpace.h"
#include "engine/pixel/ExtentLimits.h"
#include "engine/pixel/QImageView.h"
#include "engine/text/FontRegistration.h"
#include "engine/text/FontsFolder.h"
#include "engine/types/LowLevelFailure.h"

#include <cmath>
#include <functional>

namespace zephrin::TextRenderer {

namespace {

// A transparent bitmap of width × height pixels (truncated) and a drawing
// context over it whose user space is the bitmap's y-up space; `draw` fills it.
// None when a side is not a positive finite number within the pixel layer's
// limits, or the memory can't be had.
std::optional<Image> drawBitmap(double width, double height, const std::optional<Image>& background,
                                const std::function<void(DrawingContext&, int, int)>& draw)
{
    if (!std::isfinite(width) || !std::isfinite(height) || width < 1 || height < 1
        || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (std::int64_t(w) * h > kMaxPixels)
        return std::nullopt;
    return orNothing("text drawing", [&]() -> std::optional<Image> {
        // The copy comes from the pixel pool: a new 12-megapixel buffer for
        // each redraw faulted in 48 MB every time a text layer moved.
        Image bitmap = background ? Image(background->clone().pixels) : Image::transparent({w, h});
        // The QImage views the Image's own new buffer while the context draws.
        QImage target = paintableView(bitmap.pixels, QImage::Format_RGBA8888_Premultiplied);
        {
            DrawingContext context(target);
            context.painter().setTransform(yUpToImage(h));
            draw(context, w, h);
        }
        return bitmap;
    });
}

} // namespace

void registerDownloadedFonts()
{
    static FontRegistration downloadedFonts(fontsFolder());
    downloadedFonts.registerOnce();
}

std::optional<Image> drawLayers(const QList<TextLayer>& layers, double width, double height)
{
    return drawBitmap(width, height, std::nullopt, [&](DrawingContext& context, int w, int h) {
        for (const TextLayer& layer : layers)
            drawLayer(layer, context, w, h, false);
    });
}

std::optional<Image> renderLayers(const QList<TextLayer>& layers, const Image& image, bool mirrored)
{
    if (image.empty())
        return std::nullopt;
    return drawBitmap(image.width(), image.height(), image, [&](DrawingContext& context, int w, int h) {
        for (const TextLayer& layer : layers)
            drawLayer(layer, context, w, h, mirrored);
    });
}

QSizeF boxSize(const TextLayer& layer, double scale)
{
    if (!layer.shape.isEmpty()) {
        const double sw = scale * layer.shapeW;
        const double sh = scale * layer.shapeH;
        const double border = 2 * layer.border * std::min(sw, sh);
        return {std::ceil(sw + border), std::ceil(sh + border)};
    }
    const QRectF bbox = layout(layer, scale).bbox;
    return {std::ceil(bbox.width()), std::ceil(bbox.height())};
}

std::optional<Image> renderImage(const TextLayer& layer, double width, double height, bool mirrored)
{
    const QSizeF box = boxSize(layer, height);
    const double reach = layer.shape.isEmpty() ? layer.fontSize(height)
                                               : 0.3 * height * std::min(layer.shapeW, layer.shapeH);
    const double share = layer.effect == u"none" ? 0.1 : 0.7;
    const double margin = 2 * (reach * share + 4);
    const double spriteW = std::trunc(box.width() + margin);
    const double spriteH = std::trunc(box.height() + margin);
    return drawBitmap(spriteW, spriteH, std::nullopt, [&](DrawingContext& context, int w, int h) {
        // Puts the layer's anchor in the sprite's centre.
        context.painter().translate(w / 2.0 - width * layer.x, h / 2.0 - height * (1 - layer.y));
        drawLayer(layer, context, width, height, mirrored);
    });
}

} // namespace zephrin::TextRenderer
