#pragma once
// Every engine call the editor makes, in one place. The editor owns one
// EditorEngines and calls nothing below model/ except through it, so a test can
// derive from it, count calls and script answers (a fixed matte, a failure, a
// slow result), while the application runs the real engines, which these
// defaults call.
//
// All calls but the three content-store ones are synchronous, keep no editor
// state and may run on any worker thread at once; the store calls are made on
// the GUI thread and answer through a future that finishes there.

#include "content/backdrops/Backdrop.h"
#include "engine/bitmap/RGBABitmap.h"
#include "engine/edits/MaskEditLayers.h"
#include "engine/edits/MaskEditOp.h"
#include "engine/matte/MatteEngine.h"
#include "engine/matte/PaletteColor.h"
#include "engine/paint/PaintLayers.h"
#include "engine/paint/PaintOp.h"
#include "engine/text/TextLayer.h"
#include "engine/types/CompositeSettings.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/MatteBox.h"
#include "engine/types/MatteModel.h"
#include "engine/types/MatteSettings.h"
#include "output/sheet/SheetEngine.h"
#include "output/vector/TraceOptions.h"
#include "output/vector/Vectorizer.h"

#include <QByteArray>
#include <QFuture>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <atomic>
#include <optional>
#include <vector>

namespace zephrin {

class EditorEngines {
public:
    EditorEngines() = default;
    EditorEngines(const EditorEngines&) = delete;
    EditorEngines& operator=(const EditorEngines&) = delete;
    virtual ~EditorEngines() = default;

    // The engines the editor owns: matte, refine, composite and encode; SVG
    // tracing for export; sticker-sheet layout.
    MatteEngine engine;
    Vectorizer vectorizer;
    SheetEngine sheetEngine;

    // IS-Net: whether its model file is there, whether it is loaded (read
    // under the runner's lock), and loading it with its working memory mapped
    // in (throws when it cannot).
    virtual bool isnetAvailable() const;
    virtual bool isnetLoaded() const;
    virtual void loadIsnet() const;
    // Gives back IS-Net's working memory, some 450 MB, and keeps its session
    // (the next cutout maps it in again first); off the GUI thread.
    virtual void releaseIsnetMemory() const;
    // Lets the IS-Net session go, some 200 MB, with its working memory (the
    // next cutout loads it again from its cache); off the GUI thread.
    virtual void releaseIsnet() const;
    // Once the editor has been left alone: releases IS-Net and gives back the
    // memory freed work left behind (ProcessMemory.h). Slow enough to run off
    // the GUI thread.
    virtual void releaseIdleMemory() const;

    // Cutout (see MatteEngine for each).
    virtual MatteBox computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region) const;
    virtual MatteBox flatColorMask(const Image& image, double tolerance, bool connectedOnly, int closeGaps) const;
    // Whether the matte has enclosed holes that filling would close.
    virtual bool hasFillableHoles(const Matte& matte) const;
    virtual std::optional<RGBAColor> pixelColor(const Image& image, double x, double y) const;
    virtual std::vector<PaletteColor> selectionPalette(const Image& image, std::optional<SelectionKind> shape,
                                                       const std::vector<QPointF>& points, int count) const;

    // Refine and composite.
    virtual Image refine(const Image& source, const MatteBox& matte, const MatteSettings& settings,
                         const std::optional<MaskEditLayers>& edits) const;
    virtual Image composite(const Image& cutout, const Image& source, const std::optional<Image>& background,
                            const std::optional<PaintLayers>& paint, const CompositeSettings& settings) const;
    // The image with the layers drawn over it; none when nothing could be drawn.
    virtual std::optional<Image> drawTextLayers(const QList<TextLayer>& layers, const Image& base,
                                                bool mirrored) const;
    // One layer's box in whole pixels for an image `imageHeight` pixels high,
    // and the layer drawn alone (the canvas's text handles; GUI thread).
    virtual QSizeF textBoxSize(const TextLayer& layer, double imageHeight) const;
    virtual std::optional<Image> renderTextLayer(const TextLayer& layer, double width, double height,
                                                 bool mirrored) const;
    virtual std::optional<QRectF> alphaBounds(const Image& image) const;
    // The share of near-white pixels among the opaque ones; with `within`,
    // among those where that matte (over the image) is opaque too.
    virtual double whiteFraction(const Image& image, const std::optional<Matte>& within) const;
    virtual bool isOpaque(const Image& image) const;

    // Mask and paint layers.
    virtual std::optional<RGBABitmap> sourceBitmap(const Image& image) const;
    virtual std::optional<MaskEditLayers> maskEditLayers(const std::vector<MaskEditOp>& ops, int width, int height,
                                                         const std::optional<RGBABitmap>& source) const;
    virtual std::optional<PaintLayers> paintLayers(const std::vector<PaintOp>& ops, int width, int height) const;

    // Backdrops: a generated one rendered at a size, and the pictures of the
    // photo library and of My Backgrounds (GUI thread, futures finish there).
    virtual std::optional<Image> renderBackdrop(const Backdrop& backdrop, int width, int height) const;
    virtual QFuture<std::optional<Image>> photoBackdrop(const QString& id) const;
    virtual QFuture<std::optional<Image>> savedBackground(const QString& id) const;
    virtual QFuture<std::optional<QString>> saveBackground(const Image& picture, const QString& name) const;

    // Export.
    virtual QByteArray renderData(const Image& image, ExportFormat format, int longEdge, bool transparent,
                                  double quality) const;
    virtual QByteArray traceSVG(const Image& image, const std::optional<Image>& source,
                                const TraceOptions& options) const;
    virtual std::optional<QByteArray> encodePNG(const Image& image, const std::atomic<bool>* stop = nullptr) const;

    // Sticker sheet: lays the sheet out and renders it (SheetEngine::render).
    virtual SheetRender renderSheet(const std::vector<StickerItem>& items, const SheetSettings& settings,
                                    const SheetPins& pins);
};

} // namespace zephrin
