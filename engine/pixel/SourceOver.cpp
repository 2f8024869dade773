#include "engine/pixel/SourceOver.h"

#include "engine/pixel/PixelRows.h"
#include "engine/pixel/detail/Compositing.h"

namespace zephrin {

Image sourceOver(const Image& foreground, const Image& background)
{
    return detail::combineImages(foreground, background, pixelRows::over);
}

} // namespace zephrin
