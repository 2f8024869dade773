#pragma once
// The cutout engine: finds, refines, composites and encodes. It holds nothing
// but its rendering context and keeps nothing between calls, so one engine may
// serve several background tasks at once. The editor owns one, the batch model
// another, and each automation request makes its own.

#include "engine/edits/SelectionKind.h"
#include "engine/matte/PaletteColor.h"
#include "engine/pixel/RenderContext.h"
#include "engine/types/RGBAColor.h"

#include <QPointF>

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
    // side; 0 when none is opaque.
    static double whiteFraction(const Image& image);

private:
    const RenderContext m_context;
};

} // namespace zephrin
