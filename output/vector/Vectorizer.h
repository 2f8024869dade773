#pragma once
// The vectorizer: traces a cutout into closed cubic outlines collected in
// filled colour layers, and writes them as an SVG document.
//
// One entry point gives three kinds of result:
//   - a silhouette: one layer, the whole visible subject, in a given colour;
//   - ink: one layer made only of the dark strokes of a drawing or print on a
//     light ground, asked for or detected automatically;
//   - colour layers: one layer per colour of a median-cut palette.
//
// The method, stage by stage (the files that hold them in brackets):
//   1. the traced bitmap and its visibility mask (alpha threshold);
//   2. the ink test over the subject's box (InkDetection);
//   3. the working mask: ink, or the visible subject;
//   4. the layers: the working mask itself, or one mask per colour of a
//      median-cut palette (MedianCutPalette), each traced by TraceLayer:
//      crack-edge boundary loops (BoundaryLoops), Douglas-Peucker
//      simplification (SimplifyClosed), the corner split and cubic fitting
//      (CurveFitting).
// Everything is synchronous, deterministic and reentrant; the class holds
// nothing, so one instance may serve several traces at once.

#include "engine/bitmap/RGBABitmap.h"
#include "engine/pixel/Image.h"
#include "output/vector/MedianCutPalette.h"
#include "output/vector/TraceOptions.h"
#include "output/vector/TraceResult.h"

#include <optional>
#include <string>

namespace zephrin {

class Vectorizer final {
public:
    using RGB = tracing::RGB;

    // Traces the cutout `image` (its alpha decides what is subject) at most
    // options.traceLongEdge pixels on its longer side. `colourSource` is an
    // optional second picture of the same scene (the uncut photo, say) that the
    // ink analysis reads instead of the cutout when it traces to the same size.
    // Throws MatteError: renderFailed when the image cannot be read into a
    // bitmap; noSubjectFound when no pixel reaches options.alphaThreshold, when
    // ink tracing finds no ink, or when colour tracing keeps no layer.
    //
    // Cost: a few passes over the traced bitmap (one more per colour layer),
    // then linear in the outline lengths.
    TraceResult trace(const Image& image, const std::optional<Image>& colourSource,
                      const TraceOptions& options) const;
    TraceResult trace(const Image& image, const TraceOptions& options) const
    {
        return trace(image, std::nullopt, options);
    }

    // The trace as a standalone SVG document: one even-odd path per layer with
    // absolute coordinates, on a page cropped to the content with a 2 % margin,
    // or, with options.fileMaker, on a square page with the content centred and
    // every path tagged class "fm_fill" instead of a fill colour. The page is
    // drawn options.pageLongEdge pixels on its longer side (exportedPageSize).
    // Only options.fileMaker and options.pageLongEdge are read. Never fails;
    // independent of the locale.
    static std::string svgString(const TraceResult& result, const TraceOptions& options);

    // "#RRGGBB": each channel clamped to 0 ... 1, times 255, rounded half away
    // from zero.
    static std::string hexColor(const RGB& colour);

    // The shortest fixed-point text with at most two decimals: 12.5, 3, 100;
    // "-0" becomes "0". Rounds as printf's "%.2f" does, without the locale.
    static std::string formatNumber(double value);

    // The shared pixel reader (see engine/bitmap/RGBABitmap.h).
    static std::optional<RGBABitmap> makeBitmap(const Image& image, int maxLongEdge)
    {
        return zephrin::makeBitmap(image, maxLongEdge);
    }
};

} // namespace zephrin
