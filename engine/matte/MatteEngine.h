#pragma once
// The cutout engine: finds, refines, composites and encodes. It holds nothing
// but its rendering context and keeps nothing between calls, so one engine may
// serve several background tasks at once. The editor owns one, the batch model
// another, and each automation request makes its own.

#include "engine/edits/MaskEditLayers.h"
#include "engine/edits/SelectionKind.h"
#include "engine/matte/FlatBackdrop.h"
#include "engine/matte/MatteSources.h"
#include "engine/matte/PaletteColor.h"
#include "engine/paint/PaintLayers.h"
#include "engine/pixel/RenderContext.h"
#include "engine/types/AdjustSettings.h"
#include "engine/types/CompositeSettings.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/MatteBox.h"
#include "engine/types/MatteModel.h"
#include "engine/types/MatteSettings.h"
#include "engine/types/RGBAColor.h"
#include "engine/types/SettingRange.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>

#include <atomic>
#include <optional>
#include <vector>

namespace zephrin {

class MatteEngine final {
public:
    MatteEngine();
    MatteEngine(const MatteEngine&) = delete;
    MatteEngine& operator=(const MatteEngine&) = delete;

    // The context every engine of this kind renders through: named "Zephrin",
    // intermediate caching off.
    static RenderContext makeContext();

    const RenderContext& context() const { return m_context; }

    // Matte refinement (engine/refine/)
    // The cutout: the source's colour (un-blended from the page colour when the
    // box has one, then decontaminated when the settings say so) with the
    // refined matte as alpha, over the source's extent. Throws
    // MatteError(renderFailed) only when memory runs out.
    Image applyMatteSettings(const Image& source, const MatteBox& box, const MatteSettings& settings,
                             const std::optional<MaskEditLayers>& edits = std::nullopt) const;
    // The matte with its holes filled (when asked), its edge treated, feathered
    // and the mask edits merged; same extent as the input. Reads only
    // fillHoles, edgeMode and feather of the settings. Never fails.
    Matte refineEdges(const Matte& matte, const MatteSettings& settings,
                      const std::optional<MaskEditLayers>& edits = std::nullopt) const;
    // The matte with its enclosed holes made opaque, or none when it has none.
    std::optional<Matte> fillHoles(const Matte& matte) const;
    // The source with the page colour un-blended from the soft pixels next to
    // the background; none for an empty image or one above 40,000,000 pixels.
    std::optional<Image> removeMatte(const Image& source, const Matte& refined, const RGBAColor& pageColor) const;

    // Selection palette and pixel probes (engine/matte/SelectionPalette.cpp, PixelProbes.cpp)
    // The image's pixels are read as they are (its origin is ignored); all three
    // are pure and run on any thread.

    // The dominant colours of the image, or of the part inside a selection shape
    // (points in image pixels; a shape without a path counts as the whole image):
    // at most `count` entries, largest share first. About 80,000 pixels of alpha
    // above one half are sampled; colours are the stored premultiplied bytes.
    // Empty when no pixel qualifies.
    static std::vector<PaletteColor> selectionPalette(const Image& image, std::optional<SelectionKind> shape,
                                                      const std::vector<QPointF>& points, int count);
    // The un-premultiplied colour (alpha 1) of the pixel at (x, y), image pixel
    // coordinates truncated toward zero; none outside the image or on a fully
    // transparent pixel.
    static std::optional<RGBAColor> pixelColor(const Image& image, double x, double y);
    // The share of near-white pixels (each channel at least 236) among the opaque
    // ones (alpha at least 201), measured on a copy at most 384 pixels on the long
    // side; 0 when none is opaque. With `within` (a matte over the image, both
    // origins counting), only pixels where it is at least 201 too are counted:
    // the subject's pixels of a composite, say, and not its backdrop.
    static double whiteFraction(const Image& image, const std::optional<Matte>& within = std::nullopt);
    // Whether every pixel is fully opaque (false for an empty image).
    static bool isOpaque(const Image& image);

    // Flat backdrops and colour keying (engine/matte/FlatColorKey.cpp, FlatBackdropDetection.cpp)
    // The image's premultiplied bytes are read as they are, full size (its origin
    // is ignored); transparent pixels count as black.

    // Keys one colour out of the image into a soft matte at the image's size:
    // 0 on the key colour, 255 far from it (see SoftColorKey for the ramp, which
    // begins past the backdrop's measured spread: backdropRamp; the tolerance
    // is 0 to 100). The key is the given colour (alpha ignored) or,
    // without one, the mean of the three corner patches that agree best (see
    // CornerPatches). With `connectedOnly` only the keyed area connected to the
    // image border stays keyed, after closing gaps of up to 2 × min(closeGaps,
    // 20) pixels in the subject (see BorderConnectedKey); what is backdrop there
    // is decided by the tolerance's own ramp, not the moved one. The box has no
    // backdrop colour and no scene fallback.
    // Throws MatteError (renderFailed) for an empty image. Tolerance and
    // closeGaps are clamped to the ranges below, the keying controls' own.
    static constexpr SettingRange flatToleranceRange{0, 100, 1, 25};
    static constexpr SettingRange flatCloseGapsRange{0, 20, 1, 0};
    static MatteBox flatColorMask(const Image& image, double tolerance, bool connectedOnly, int closeGaps,
                                  std::optional<RGBAColor> keyColor = std::nullopt);
    // The flat backdrop of the image, if any: the border-connected key at
    // tolerance 25 with that tolerance's own ramp (never one moved to the
    // backdrop's grain), measured on a grid of at most 255 cells on the long side. It
    // counts when the keyed cells are at least `minimumFraction` and at most 98%
    // of the grid and their colour spread (square root of the summed channel
    // variances, 0 to 1 scale) is below `maximumSigma`. Logs the accepted
    // backdrop and the candidate rejected for its spread; never throws.
    std::optional<FlatBackdrop> detectFlatBackdrop(const Image& image, double minimumFraction, double maximumSigma,
                                                   std::optional<RGBAColor> keyColor = std::nullopt) const;
    // The mean colours (alpha 1) of the four corner patches: top-left, top-right,
    // bottom-left, bottom-right. Empty for an empty image.
    static std::vector<RGBAColor> cornerColors(const Image& image);

    // Finding the subject: the matte pipeline and the subject lift (engine/matte/
    // MattePipeline.cpp, SubjectLift.cpp, PageWipe.cpp, GuidedISNetMatte.cpp, MatteBounds.cpp)
    // Images are read as their pixels (origin ignored); every matte here is at the
    // image's pixel size with origin (0, 0). Regions are in image pixels, y down.

    // The subject matte of an image, found by the subject lift (apple) or by
    // IS-Net (isnet; the subject lift when the model is missing or will not
    // load), with a flat backdrop wiped and a selection region honoured. Throws
    // MatteError(noSubjectFound), MatteError(renderFailed) when memory runs
    // out, or passes on CoreMLMatte::Failure.
    MatteBox computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region = std::nullopt) const;
    // The same with the network and the flat-backdrop detection given; a
    // low-level failure passes through as it is.
    MatteBox computeMatte(const Image& image, MatteModel model, std::optional<QRectF> region,
                          const MatteSources& sources) const;
    // The shared IS-Net runner and this engine's flat-backdrop detection.
    MatteSources standardSources() const;
    // The subject lift alone (engine/matte/SubjectLift.h), searching only inside
    // the region when one is given and meets the image. No backdrop colour, no
    // scene fallback. Throws MatteError(noSubjectFound) when nothing is found.
    MatteBox visionSubjectMask(const Image& image, std::optional<QRectF> region) const;
    // Whether wiping the flat backdrop would remove more than 2% of the matte's
    // confident subject (measured on the 256-grid); logs when it would.
    bool pageWipeGuard(double width, double height, const Matte& matte, const FlatBackdrop& flat) const;
    // The matte set to 0 on the keyed backdrop (grown by 1 pixel), unchanged elsewhere.
    Matte applyPageWipe(double width, double height, const Matte& matte, const FlatBackdrop& flat) const;
    // The image with its flat backdrop painted mid-grey, for a second look by
    // IS-Net; logs "backdrop neutralized before IS-Net".
    std::optional<Image> neutralizeBackdrop(const Image& image, const FlatBackdrop& flat) const;
    // The matte restricted to its components (on the 1024-grid) that touch the region.
    Matte guidedISNetMatte(const Matte& matte, const QRectF& region, double width, double height) const;
    // The bounds of the matte's visible pixels (value above 12 on the 256-grid),
    // in full-size pixels; none when nothing is visible.
    std::optional<QRectF> matteBounds(const Matte& matte) const;

    // Compositing (engine/composite/)
    // The finished picture: the cutout (the refined subject on transparency,
    // at the source's size, origin (0, 0)) adjusted, recoloured, painted,
    // cropped, outlined and shadowed, placed on the canvas of the chosen size and
    // aspect over its background, edge-blended, overlaid with the text layers,
    // shape-cropped and mirrored, rendered through the context. `background` is
    // drawn by background mode image; `paint` layers are at the cutout's size.
    // The settings are clamped to their ranges first (CompositeSettings::clamped).
    // Throws MatteError(renderFailed) when there is nothing to render, or when
    // the canvas would be beyond the pixel layer's limits.
    Image composite(const Image& cutout, const Image& source, const std::optional<Image>& background,
                    const std::optional<PaintLayers>& paint, const CompositeSettings& settings) const;
    // What of the composite is the design: the cutout's alpha inside the crop,
    // grown by the outline when one is drawn; not the backdrop or the shadow.
    // In document pixels (inCompositePixels places it in the composite's).
    static Matte designAlpha(const Image& cutout, const CompositeSettings& settings);
    // Exposure, contrast and saturation, warmth, each clamped to its range and
    // skipped when too small to show; the image itself when all four are 0.
    // Keeps the extent.
    static Image applyAdjust(const Image& image, const AdjustSettings& adjust);
    // The image's alpha as a grey matte over its extent.
    static Matte alphaMask(const Image& image);
    // The bounds of the image's visible content (alpha above 8 of 255), measured
    // on a copy of at most 512 pixels on its long side, so accurate to about
    // one such pixel; image space, origin included. None when nothing shows.
    static std::optional<QRectF> alphaBounds(const Image& image);
    // A white rounded rectangle on black over `rect` (whole pixels, rounded
    // outwards), antialiased; radius capped at half the shorter side.
    static Matte shapeCropMask(const QRectF& rect, double radius);

    // Raster encoding (engine/codec/RenderData.cpp)
    // The file bytes of a finished image (origin ignored) as PNG, JPEG, WebP or
    // HEIC. A maximum long edge above 0 scales the image down (never up) before
    // it is rendered; without `transparent`, and always for JPEG, it is flattened
    // on white. Quality is clamped to kExportQualityRange (10 to 100): JPEG and
    // HEIC use quality / 100, WebP takes it as is (lossless from 99.5), PNG
    // ignores it. Throws MatteError
    // (renderFailed, also when memory runs out; unsupportedFormat for svg) or
    // WebPEncoder::EncodeError.
    QByteArray renderData(const Image& image, ExportFormat format, int maxLongEdge, bool transparent,
                          double quality) const;
    // The PNG bytes of an image, for the clipboard and drag-out; nothing on
    // failure, or when `stop` (if given) turns true before it is done.
    std::optional<QByteArray> encodeImage(const Image& image, const std::atomic<bool>* stop = nullptr) const;

private:
    const RenderContext m_context;
};

} // namespace zephrin
