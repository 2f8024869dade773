#include "engine/composite/BlurredOver.h"

#include "engine/composite/CanvasGeometry.h"
#include "engine/pixel/ClampToExtent.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/GaussianBlur.h"

namespace zephrin {

Image blurredOver(const Image& image, const cv::Rect& area, double sigma)
{
    const Image clamped = clampedToExtent(image, grownBy(area, blurReach(sigma)));
    return cropped(gaussianBlur(clamped, sigma, EdgeMode::clamp), area);
}

} // namespace zephrin
