#include "engine/refine/Decontaminate.h"

#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/ColorInvert.h"
#include "engine/pixel/ColorMatrix.h"
#include "engine/pixel/ColorThreshold.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/MultiplyCompositing.h"

namespace zephrin {

Image decontaminated(const Image& colour, const Image& source, const Matte& refined, double strength)
{
    const Matte core = colorThreshold(refined, 0.5);
    const Matte dilated = morphologyMaximum(core, 2.5, EdgeMode::clamp);
    const Matte eroded = morphologyMinimum(core, 2.5, EdgeMode::clamp);
    const Matte band = multiplyCompositing(dilated, colorInvert(eroded));
    ColorMatrix scale;
    scale.r = {strength, 0, 0, 0};
    const Matte weight = colorMatrix(band, scale);

    const Image spread = gaussianBlur(maskedBy(source, eroded), 4.0, EdgeMode::clamp);
    ColorMatrix opaque;
    opaque.a = {0, 0, 0, 0};
    opaque.bias = {0, 0, 0, 1};
    const Image fill = colorMatrix(spread, opaque);
    const Matte reach = alphaMatte(spread);

    return blendWithMask(fill, colour, multiplyCompositing(weight, reach));
}

} // namespace zephrin
