#include "model/engines/EditorEngines.h"

#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/photos/PhotoBackdropLibrary.h"
#include "engine/edits/ApplyMaskEdits.h"
#include "engine/isnet/CoreMLMatte.h"
#include "engine/text/TextRenderer.h"
#include "engine/threads/ProcessMemory.h"

namespace zephrin {

bool EditorEngines::isnetAvailable() const
{
    return CoreMLMatte::isAvailable();
}

bool EditorEngines::isnetLoaded() const
{
    return CoreMLMatte::shared().isLoaded();
}

void EditorEngines::loadIsnet() const
{
    CoreMLMatte::shared().loadModel();
}

void EditorEngines::releaseIsnetMemory() const
{
    CoreMLMatte::shared().releaseWorkingMemory();
}

void EditorEngines::releaseIsnet() const
{
    CoreMLMatte::shared().release();
}

void EditorEngines::releaseIdleMemory() const
{
    releaseIsnet();
    returnIdleMemory();
}

MatteBox EditorEngines::computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region) const
{
    return engine.computeMatte(image, model, region);
}

MatteBox EditorEngines::flatColorMask(const Image& image, double tolerance, bool connectedOnly, int closeGaps) const
{
    return MatteEngine::flatColorMask(image, tolerance, connectedOnly, closeGaps);
}

bool EditorEngines::hasFillableHoles(const Matte& matte) const
{
    return engine.fillHoles(matte).has_value();
}

std::optional<RGBAColor> EditorEngines::pixelColor(const Image& image, double x, double y) const
{
    return MatteEngine::pixelColor(image, x, y);
}

std::vector<PaletteColor> EditorEngines::selectionPalette(const Image& image, std::optional<SelectionKind> shape,
                                                          const std::vector<QPointF>& points, int count) const
{
    return MatteEngine::selectionPalette(image, shape, points, count);
}

Image EditorEngines::refine(const Image& source, const MatteBox& matte, const MatteSettings& settings,
                            const std::optional<MaskEditLayers>& edits) const
{
    return engine.applyMatteSettings(source, matte, settings, edits);
}

Image EditorEngines::composite(const Image& cutout, const Image& source, const std::optional<Image>& background,
                               const std::optional<PaintLayers>& paint, const CompositeSettings& settings) const
{
    return engine.composite(cutout, source, background, paint, settings);
}

std::optional<Image> EditorEngines::drawTextLayers(const QList<TextLayer>& layers, const Image& base,
                                                   bool mirrored) const
{
    return TextRenderer::renderLayers(layers, base, mirrored);
}

QSizeF EditorEngines::textBoxSize(const TextLayer& layer, double imageHeight) const
{
    return TextRenderer::boxSize(layer, imageHeight);
}

std::optional<Image> EditorEngines::renderTextLayer(const TextLayer& layer, double width, double height,
                                                    bool mirrored) const
{
    return TextRenderer::renderImage(layer, width, height, mirrored);
}

std::optional<QRectF> EditorEngines::alphaBounds(const Image& image) const
{
    return MatteEngine::alphaBounds(image);
}

double EditorEngines::whiteFraction(const Image& image, const std::optional<Matte>& within) const
{
    return MatteEngine::whiteFraction(image, within);
}

bool EditorEngines::isOpaque(const Image& image) const
{
    return MatteEngine::isOpaque(image);
}

std::optional<RGBABitmap> EditorEngines::sourceBitmap(const Image& image) const
{
    return makeBitmap(image, std::max(image.width(), image.height()));
}

std::optional<MaskEditLayers> EditorEngines::maskEditLayers(const std::vector<MaskEditOp>& ops, int width,
                                                            int height, const std::optional<RGBABitmap>& source) const
{
    return applyMaskEdits(ops, width, height, source);
}

std::optional<PaintLayers> EditorEngines::paintLayers(const std::vector<PaintOp>& ops, int width, int height) const
{
    return PaintLayers::render(ops, width, height);
}

std::optional<Image> EditorEngines::renderBackdrop(const Backdrop& backdrop, int width, int height) const
{
    return backdrop.render(width, height);
}

QFuture<std::optional<Image>> EditorEngines::photoBackdrop(const QString& id) const
{
    return PhotoBackdropLibrary::shared().fullImage(id);
}

QFuture<std::optional<Image>> EditorEngines::savedBackground(const QString& id) const
{
    return MyBackgroundsStore::shared().fullImage(id);
}

QFuture<std::optional<QString>> EditorEngines::saveBackground(const Image& picture, const QString& name) const
{
    return MyBackgroundsStore::shared().add(picture, name, QStringLiteral("imported"));
}

QByteArray EditorEngines::renderData(const Image& image, ExportFormat format, int longEdge, bool transparent,
                                     double quality) const
{
    return engine.renderData(image, format, longEdge, transparent, quality);
}

QByteArray EditorEngines::traceSVG(const Image& image, const std::optional<Image>& source,
                                   const TraceOptions& options) const
{
    const std::string svg = Vectorizer::svgString(vectorizer.trace(image, source, options), options);
    return QByteArray::fromStdString(svg);
}

std::optional<QByteArray> EditorEngines::encodePNG(const Image& image, const std::atomic<bool>* stop) const
{
    return engine.encodeImage(image, stop);
}

SheetRender EditorEngines::renderSheet(const std::vector<StickerItem>& items, const SheetSettings& settings,
                                       const SheetPins& pins)
{
    return sheetEngine.render(items, settings, pins);
}

} // namespace zephrin
