#pragma once
// The result of the matte pipeline: the matte itself, immutable, and what the
// pipeline learned on the way.

#include "engine/pixel/Image.h"
#include "engine/types/RGBAColor.h"

#include <optional>

namespace zephrin {

class MatteBox {
public:
    explicit MatteBox(Matte image, std::optional<RGBAColor> backdropColor = std::nullopt,
                      bool sceneFallback = false)
        : backdropColor(backdropColor), sceneFallback(sceneFallback), m_image(std::move(image))
    {}

    // White = subject, at the source image's pixel size, origin (0, 0).
    const Matte& image() const { return m_image; }

    // The page colour of a flat backdrop the pipeline detected and wiped; the
    // refinement un-blends edge pixels from it.
    std::optional<RGBAColor> backdropColor;
    // No single subject stood out and the whole scene (less flat areas) was kept.
    bool sceneFallback = false;

private:
    Matte m_image;
};

} // namespace zephrin
