// MatteEngine: the refinement entry point and the edge chain.

#include "engine/matte/MatteEngine.h"

#include "engine/pixel/ColorControls.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/UnsharpMask.h"
#include "engine/refine/Decontaminate.h"
#include "engine/refine/MergeMaskEdits.h"
#include "engine/refine/RefinementSwitches.h"
#include "engine/types/LowLevelFailure.h"
#include "engine/types/MatteError.h"

namespace zephrin {

namespace {

// Every neighbourhood step repeats the edge pixels: a subject touching the frame
// keeps full alpha along it instead of fading into a transparent rim.
constexpr EdgeMode kEdges = EdgeMode::clamp;

Matte treatedEdge(const Matte& matte, EdgeRefineMode mode)
{
    switch (mode) {
    case EdgeRefineMode::smooth: {
        // Close small gaps, then shave the outline back a little further than it
        // grew, and soften the result.
        Matte m = morphologyMaximum(matte, 1.5, kEdges);
        m = morphologyMinimum(m, 2.5, kEdges);
        m = morphologyMaximum(m, 1.0, kEdges);
        return gaussianBlur(m, 0.8, kEdges);
    }
    case EdgeRefineMode::detail:
        return unsharpMask(matte, 1.5, 0.6, kEdges);
    case EdgeRefineMode::contrast:
        return colorControls(matte, ColorControls{.contrast = 2.2});
    }
    return matte;
}

} // namespace

Matte MatteEngine::refineEdges(const Matte& matte, const MatteSettings& settings,
                               const std::optional<MaskEditLayers>& edits) const
{
    Matte refined = matte;
    if (settings.fillHoles)
        if (auto filled = fillHoles(matte))
            refined = std::move(*filled);
    refined = treatedEdge(refined, settings.edgeMode);
    if (const auto sigma = featherSigma(settings))
        refined = gaussianBlur(refined, *sigma, kEdges);
    refined = cropped(refined, matte.extent());
    if (edits)
        refined = mergedMaskEdits(refined, *edits);
    return refined;
}

Image MatteEngine::applyMatteSettings(const Image& source, const MatteBox& box, const MatteSettings& settings,
                                      const std::optional<MaskEditLayers>& edits) const
{
    return failingAs(MatteError(MatteErrorKind::renderFailed), "applyMatteSettings", [&] {
        const Matte refined = refineEdges(box.image(), settings, edits);

        Image colour = source;
        if (box.backdropColor)
            if (auto unblended = removeMatte(source, refined, *box.backdropColor))
                colour = std::move(*unblended);
        if (colour.empty())
            colour = source;

        // The cutout is a buffer of our own: the decontaminated tiles go
        // straight into it, masked like the rest.
        Image cutout = maskedBy(colour, refined);
        if (const auto strength = decontaminationStrength(settings)) {
            const std::vector<Image> tiles = decontaminatedTiles(colour, source, refined, *strength);
            cv::parallel_for_(cv::Range(0, int(tiles.size())), [&](const cv::Range& range) {
                for (int i = range.start; i < range.end; ++i) {
                    const Image masked = maskedBy(tiles[size_t(i)], refined);
                    masked.pixels.copyTo(cutout.pixels(masked.extent() - cutout.origin));
                }
            });
        }
        return cropped(cutout, source.extent());
    });
}

} // namespace zephrin
