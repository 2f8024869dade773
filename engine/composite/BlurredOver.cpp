#include "engine/composite/BlurredOver.h"

#include "engine/composite/CanvasGeometry.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/GaussianBlur.h"

namespace zephrin {

Image blurredOver(const Image& image, const cv::Rect& area, double sigma)
{
    return cropped(gaussianBlurClamped(image, grownBy(area, blurReach(sigma)), sigma), area);
}

} // namespace zephrin
