// Keying a flat colour out of an image, and the corner colours it starts from.

#include "engine/matte/BorderConnectedKey.h"
#include "engine/matte/CornerPatches.h"
#include "engine/matte/MatteEngine.h"
#include "engine/matte/SoftColorKey.h"
#include "engine/matte/SoftKey.h"
#include "engine/types/LowLevelFailure.h"
#include "engine/types/MatteError.h"

namespace zephrin {

// The full-size bitmap the keying reads is the image's own bytes (the same
// layout), so they are read in place rather than copied. The key's ramp
// begins where the backdrop's own spread ends (backdropRamp), so a textured
// page within the tolerance is keyed out whole; what the flood takes for
// backdrop is decided by the tolerance itself, so a pale subject just past it
// stays however grainy the page (backdropKey).

MatteBox MatteEngine::flatColorMask(const Image& image, double tolerance, bool connectedOnly, int closeGaps,
                                    std::optional<RGBAColor> keyColor)
{
    if (image.empty())
        throw MatteError(MatteErrorKind::renderFailed);
    return failingAs(MatteError(MatteErrorKind::renderFailed), "flatColorMask", [&] {
        const cv::Mat& rgba = image.pixels;
        const RGBAColor key = keyColor ? *keyColor : keyColorFromCorners(cornerPatchColors(rgba));
        const double clamped = flatToleranceRange.clamped(tolerance);
        const int gaps = int(flatCloseGapsRange.clamped(closeGaps));
        if (connectedOnly)
            return MatteBox(Matte(borderConnectedKey(rgba, backdropKey(rgba, key, clamped), gaps)));
        return MatteBox(Matte(softColorKey(rgba, key, backdropRamp(rgba, key, clamped))));
    });
}

std::vector<RGBAColor> MatteEngine::cornerColors(const Image& image)
{
    if (image.empty())
        return {};
    const auto corners = cornerPatchColors(image.pixels);
    return {corners.begin(), corners.end()};
}

} // namespace zephrin
