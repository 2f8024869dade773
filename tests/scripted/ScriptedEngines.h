#pragma once
// The editor's engines for tests: every call is counted, the subject finder
// answers at once with a fixed matte (the middle of the picture), chosen calls
// fail on request, and the content stores answer only when the test settles
// the request. Everything else is the real engine, fast on the small pictures
// tests use.

#include "content/tasks/Promise.h"
#include "model/engines/EditorEngines.h"

#include <QSize>
#include <QString>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace zephrin::testing {

class ScriptedEngines : public EditorEngines {
public:
    // A pending request of a content store, settled by the test.
    struct StoreRequest {
        QString id;
        SharedPromise<std::optional<Image>> promise;
    };
    struct SaveRequest {
        QString name;
        SharedPromise<std::optional<QString>> promise;
    };

    // How often the call of that name ran ("computeMatte", "refine", …).
    int calls(const std::string& name) const;

    // Calls that fail: computeMatte with "No subject was found in this image.",
    // renderBackdrop and the stores with no picture, the rest with
    // "The image couldn't be rendered.".
    std::set<std::string> failing;

    bool isnetPresent = false;
    bool isnetIsLoaded = false;
    // The matte's subject, in image pixels; the middle half when empty.
    QRect subject;
    bool sceneFallback = false;
    bool holes = false;

    // What the calls were given last (written by the const calls).
    mutable std::optional<QRectF> lastRegion;
    mutable QSize lastBackdropSize;
    mutable int lastCloseGaps = -1;
    mutable std::vector<QPointF> sampledPoints;   // every pixelColor call's point
    mutable CompositeSettings lastCompositeSettings;
    mutable TraceOptions lastTraceOptions;
    mutable QSize lastTracedSize;
    mutable std::optional<Image> lastTraceSource;

    // The content stores' requests, in order, for the test to settle.
    mutable std::vector<StoreRequest> photoRequests;
    mutable std::vector<StoreRequest> backgroundRequests;
    mutable std::vector<SaveRequest> saveRequests;

    bool isnetAvailable() const override;
    bool isnetLoaded() const override;
    void loadIsnet() const override;
    void releaseIsnetMemory() const override;
    void releaseIsnet() const override;
    void releaseIdleMemory() const override;
    MatteBox computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region) const override;
    MatteBox flatColorMask(const Image& image, double tolerance, bool connectedOnly, int closeGaps) const override;
    bool hasFillableHoles(const Matte& matte) const override;
    std::optional<RGBAColor> pixelColor(const Image& image, double x, double y) const override;
    Image refine(const Image& source, const MatteBox& matte, const MatteSettings& settings,
                 const std::optional<MaskEditLayers>& edits) const override;
    Image composite(const Image& cutout, const Image& source, const std::optional<Image>& background,
                    const std::optional<PaintLayers>& paint, const CompositeSettings& settings) const override;
    std::optional<Image> drawTextLayers(const QList<TextLayer>& layers, const Image& base,
                                        bool mirrored) const override;
    std::optional<MaskEditLayers> maskEditLayers(const std::vector<MaskEditOp>& ops, int width, int height,
                                                 const std::optional<RGBABitmap>& source) const override;
    std::optional<RGBABitmap> sourceBitmap(const Image& image) const override;
    std::optional<PaintLayers> paintLayers(const std::vector<PaintOp>& ops, int width, int height) const override;
    std::vector<PaletteColor> selectionPalette(const Image& image, std::optional<SelectionKind> shape,
                                               const std::vector<QPointF>& points, int count) const override;
    std::optional<Image> renderBackdrop(const Backdrop& backdrop, int width, int height) const override;
    QFuture<std::optional<Image>> photoBackdrop(const QString& id) const override;
    QFuture<std::optional<Image>> savedBackground(const QString& id) const override;
    QFuture<std::optional<QString>> saveBackground(const Image& picture, const QString& name) const override;
    QByteArray renderData(const Image& image, ExportFormat format, int longEdge, bool transparent,
                          double quality) const override;
    QByteArray traceSVG(const Image& image, const std::optional<Image>& source,
                        const TraceOptions& options) const override;
    std::optional<QByteArray> encodePNG(const Image& image, const std::atomic<bool>* stop = nullptr) const override;
    SheetRender renderSheet(const std::vector<StickerItem>& items, const SheetSettings& settings,
                            const SheetPins& pins) override;

    // A solid opaque picture, for backdrops and stores.
    static Image solid(int width, int height, cv::Scalar rgba = {40, 80, 160, 255});

private:
    void count(const std::string& name) const;
    bool fails(const std::string& name) const;

    mutable std::mutex m_lock;
    mutable std::map<std::string, int> m_calls;
};

} // namespace zephrin::testing
