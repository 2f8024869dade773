#include "engine/pixel/Flip.h"

namespace zephrin {

Image flippedHorizontally(const Image& image, int canvasWidth)
{
    if (image.empty())
        return Image(image.pixels, {canvasWidth - image.origin.x, image.origin.y});
    cv::Mat mirrored;
    cv::flip(image.pixels, mirrored, 1);
    return Image(mirrored, {canvasWidth - (image.origin.x + image.width()), image.origin.y});
}

} // namespace zephrin
