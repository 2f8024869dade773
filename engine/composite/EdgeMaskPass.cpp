#include "engine/composite/EdgeMaskPass.h"

#include "engine/matte/MatteEngine.h"
#include "engine/pixel/ColorInvert.h"
#include "engine/pixel/ColorMatrix.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/MultiplyCompositing.h"

#include <algorithm>

namespace zephrin {

std::optional<EdgeWeight> edgeWeight(const Image& subject, double amount)
{
    const cv::Rect extent = subject.extent();
    if (extent.width <= 4 || extent.height <= 4 || !(amount > 0))
        return std::nullopt;
    const double r = std::clamp(std::max(extent.width, extent.height) / 600.0, 2.0, 8.0);

    // White in a rim about r wide inside the subject's edge.
    const Matte alpha = MatteEngine::alphaMask(subject);
    const Matte core = colorInvert(gaussianBlur(morphologyMinimum(alpha, r, EdgeMode::clamp), 0.6 * r, EdgeMode::clamp));
    const Matte band = multiplyCompositing(alpha, core);
    ColorMatrix strength;
    const double k = std::min(amount, 1.0);
    strength.r = {k, 0, 0, 0};
    return EdgeWeight{colorMatrix(band, strength), 4 * r};
}

} // namespace zephrin
