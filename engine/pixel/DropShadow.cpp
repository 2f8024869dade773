#include "engine/pixel/DropShadow.h"

#include "engine/pixel/ColoredMatte.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/Translate.h"

namespace zephrin {

Image dropShadow(const Matte& alpha, const RGBAColor& color, double sigma, cv::Point offset, EdgeMode edges)
{
    return translated(coloredMatte(gaussianBlur(alpha, sigma, edges), color), offset);
}

} // namespace zephrin
