#pragma once
// The cutout engine: finds, refines, composites and encodes. It holds nothing
// but its rendering context and keeps nothing between calls, so one engine may
// serve several background tasks at once. The editor owns one, the batch model
// another, and each automation request makes its own.

#include "engine/edits/MaskEditLayers.h"
#include "engine/pixel/RenderContext.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/MatteBox.h"
#include "engine/types/MatteSettings.h"
#include "engine/types/RGBAColor.h"

#include <QByteArray>

#include <optional>

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
    // refined matte as alpha, over the source's extent. Never fails.
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

    // Raster encoding (engine/codec/RenderData.cpp)
    // The file bytes of a finished image (origin ignored) as PNG, JPEG, WebP or
    // HEIC. A maximum long edge above 0 scales the image down (never up) before
    // it is rendered; without `transparent`, and always for JPEG, it is flattened
    // on white. Quality is 0 to 100: JPEG and HEIC use quality / 100, WebP takes
    // it as is (lossless from 99.5), PNG ignores it. Throws MatteError
    // (renderFailed; unsupportedFormat for svg) or WebPEncoder::EncodeError.
    QByteArray renderData(const Image& image, ExportFormat format, int maxLongEdge, bool transparent,
                          double quality) const;
    // The PNG bytes of an image, for the clipboard and drag-out; nothing on failure.
    std::optional<QByteArray> encodeImage(const Image& image) const;

private:
    const RenderContext m_context;
};

} // namespace zephrin
