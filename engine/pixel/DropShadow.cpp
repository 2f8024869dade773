#include "engine/pixel/DropShadow.h"

#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/SolidImage.h"
#include "engine/pixel/Translate.h"

namespace zephrin {

Image dropShadow(const Matte& alpha, const RGBAColor& color, double sigma, cv::Point offset, EdgeMode edges)
{
    const Matte blurred = gaussianBlur(alpha, sigma, edges);
    return translated(maskedBy(solidImage(color, blurred.extent()), blurred), offset);
}

} // namespace zephrin
