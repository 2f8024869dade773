// MatteEngine: the adjustment chain of the subject and the background.

#include "engine/matte/MatteEngine.h"

#include "engine/pixel/ColorControls.h"
#include "engine/pixel/ColorMatrix.h"
#include "engine/pixel/ExposureAdjust.h"

#include <cmath>

namespace zephrin {

Image MatteEngine::applyAdjust(const Image& image, const AdjustSettings& settings)
{
    const AdjustSettings adjust = settings.clamped();
    if (adjust == AdjustSettings{})
        return image;
    Image adjusted = image;
    if (std::abs(adjust.exposure) > 0.005)
        adjusted = exposureAdjust(adjusted, adjust.exposure);  // the slider is in stops
    if (std::abs(adjust.contrast) > 0.05 || std::abs(adjust.saturation) > 0.05)
        adjusted = colorControls(adjusted, ColorControls{.saturation = adjust.saturation / 100 + 1,
                                                         .brightness = 0,
                                                         .contrast = adjust.contrast / 100 + 1});
    if (std::abs(adjust.warmth) > 0.5) {
        // Warmer: more red, a little more green, less blue.
        const double w = adjust.warmth / 100;
        ColorMatrix warmth;
        warmth.r = {1 + 0.45 * w, 0, 0, 0};
        warmth.g = {0, 1 + 0.1 * w, 0, 0};
        warmth.b = {0, 0, 1 - 0.45 * w, 0};
        adjusted = colorMatrix(adjusted, warmth);
    }
    return adjusted;
}

} // namespace zephrin
