#include "ScriptedEngines.h"

#include "engine/types/MatteError.h"

namespace zephrin::testing {

namespace {

[[noreturn]] void renderFailure()
{
    throw MatteError(MatteErrorKind::renderFailed);
}

} // namespace

Image ScriptedEngines::solid(int width, int height, cv::Scalar rgba)
{
    return Image(cv::Mat(height, width, CV_8UC4, rgba));
}

void ScriptedEngines::count(const std::string& name) const
{
    const std::lock_guard lock(m_lock);
    ++m_calls[name];
}

int ScriptedEngines::calls(const std::string& name) const
{
    const std::lock_guard lock(m_lock);
    const auto it = m_calls.find(name);
    return it == m_calls.end() ? 0 : it->second;
}

bool ScriptedEngines::fails(const std::string& name) const
{
    const std::lock_guard lock(m_lock);
    return failing.count(name) > 0;
}

bool ScriptedEngines::isnetAvailable() const { return isnetPresent; }
bool ScriptedEngines::isnetLoaded() const { return isnetIsLoaded; }
void ScriptedEngines::loadIsnet() const { count("loadIsnet"); }
void ScriptedEngines::releaseIsnetMemory() const { count("releaseIsnetMemory"); }
void ScriptedEngines::releaseIsnet() const { count("releaseIsnet"); }
void ScriptedEngines::releaseIdleMemory() const { count("releaseIdleMemory"); }

MatteBox ScriptedEngines::computeMatte(const Image& image, MatteModel, std::optional<QRectF> region) const
{
    count("computeMatte");
    lastRegion = region;
    if (fails("computeMatte"))
        throw MatteError(MatteErrorKind::noSubjectFound);
    const QRect area = subject.isEmpty()
                           ? QRect(image.width() / 4, image.height() / 4, image.width() / 2, image.height() / 2)
                           : subject;
    Matte matte = Matte::filled(image.size(), 0);
    matte.pixels(cv::Rect(area.x(), area.y(), area.width(), area.height())).setTo(255);
    return MatteBox(matte, std::nullopt, sceneFallback);
}

MatteBox ScriptedEngines::flatColorMask(const Image& image, double tolerance, bool connectedOnly, int closeGaps) const
{
    count("flatColorMask");
    lastCloseGaps = closeGaps;
    if (fails("flatColorMask"))
        renderFailure();
    return EditorEngines::flatColorMask(image, tolerance, connectedOnly, closeGaps);
}

std::optional<RGBAColor> ScriptedEngines::pixelColor(const Image& image, double x, double y) const
{
    count("pixelColor");
    sampledPoints.emplace_back(x, y);
    return EditorEngines::pixelColor(image, x, y);
}

bool ScriptedEngines::hasFillableHoles(const Matte&) const
{
    count("hasFillableHoles");
    return holes;
}

Image ScriptedEngines::refine(const Image& source, const MatteBox& matte, const MatteSettings& settings,
                              const std::optional<MaskEditLayers>& edits) const
{
    count("refine");
    if (fails("refine"))
        renderFailure();
    return EditorEngines::refine(source, matte, settings, edits);
}

Image ScriptedEngines::composite(const Image& cutout, const Image& source, const std::optional<Image>& background,
                                 const std::optional<PaintLayers>& paint, const CompositeSettings& settings) const
{
    count("composite");
    lastCompositeSettings = settings;
    if (fails("composite"))
        renderFailure();
    return EditorEngines::composite(cutout, source, background, paint, settings);
}

std::optional<Image> ScriptedEngines::drawTextLayers(const QList<TextLayer>& layers, const Image& base,
                                                     bool mirrored) const
{
    count("drawTextLayers");
    return EditorEngines::drawTextLayers(layers, base, mirrored);
}

std::optional<MaskEditLayers> ScriptedEngines::maskEditLayers(const std::vector<MaskEditOp>& ops, int width,
                                                              int height, const std::optional<RGBABitmap>& source) const
{
    count("maskEditLayers");
    return EditorEngines::maskEditLayers(ops, width, height, source);
}

std::optional<RGBABitmap> ScriptedEngines::sourceBitmap(const Image& image) const
{
    count("sourceBitmap");
    return EditorEngines::sourceBitmap(image);
}

std::optional<PaintLayers> ScriptedEngines::paintLayers(const std::vector<PaintOp>& ops, int width, int height) const
{
    count("paintLayers");
    return EditorEngines::paintLayers(ops, width, height);
}

std::vector<PaletteColor> ScriptedEngines::selectionPalette(const Image& image, std::optional<SelectionKind> shape,
                                                            const std::vector<QPointF>& points, int count) const
{
    this->count("selectionPalette");
    return EditorEngines::selectionPalette(image, shape, points, count);
}

std::optional<Image> ScriptedEngines::renderBackdrop(const Backdrop&, int width, int height) const
{
    count("renderBackdrop");
    lastBackdropSize = QSize(width, height);
    if (fails("renderBackdrop"))
        return std::nullopt;
    return solid(width, height);
}

QFuture<std::optional<Image>> ScriptedEngines::photoBackdrop(const QString& id) const
{
    count("photoBackdrop");
    photoRequests.push_back({id, startedPromise<std::optional<Image>>()});
    return photoRequests.back().promise->future();
}

QFuture<std::optional<Image>> ScriptedEngines::savedBackground(const QString& id) const
{
    count("savedBackground");
    backgroundRequests.push_back({id, startedPromise<std::optional<Image>>()});
    return backgroundRequests.back().promise->future();
}

QFuture<std::optional<QString>> ScriptedEngines::saveBackground(const Image&, const QString& name) const
{
    count("saveBackground");
    saveRequests.push_back({name, startedPromise<std::optional<QString>>()});
    return saveRequests.back().promise->future();
}

QByteArray ScriptedEngines::renderData(const Image& image, ExportFormat format, int longEdge, bool transparent,
                                       double quality) const
{
    count("renderData");
    if (fails("renderData"))
        renderFailure();
    return EditorEngines::renderData(image, format, longEdge, transparent, quality);
}

QByteArray ScriptedEngines::traceSVG(const Image& image, const std::optional<Image>& source,
                                     const TraceOptions& options) const
{
    count("traceSVG");
    lastTraceOptions = options;
    lastTracedSize = QSize(image.width(), image.height());
    lastTraceSource = source;
    if (fails("traceSVG"))
        renderFailure();
    return EditorEngines::traceSVG(image, source, options);
}

std::optional<QByteArray> ScriptedEngines::encodePNG(const Image& image, const std::atomic<bool>* stop) const
{
    count("encodePNG");
    if (fails("encodePNG"))
        return std::nullopt;
    return EditorEngines::encodePNG(image, stop);
}

SheetRender ScriptedEngines::renderSheet(const std::vector<StickerItem>& items, const SheetSettings& settings,
                                         const SheetPins& pins)
{
    count("renderSheet");
    if (fails("renderSheet"))
        renderFailure();
    return EditorEngines::renderSheet(items, settings, pins);
}

} // namespace zephrin::testing
