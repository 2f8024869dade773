#pragma once
// The user's paint, rendered from the list of paint operations into two
// full-size layers that the compositor confines to the subject: `solid` is laid
// over the subject, `color` recolours it.

#include "engine/paint/PaintOp.h"
#include "engine/pixel/Image.h"

#include <optional>
#include <vector>

namespace zephrin {

struct PaintLayers {
    // Each, when present, covers the whole image (origin (0, 0)): premultiplied
    // RGBA, transparent where nothing was painted. None when no operation
    // painted into it.
    std::optional<Image> solid;
    std::optional<Image> color;

    // Renders `ops` in order (first = bottom) for an image of width × height.
    // None for no ops, a size below 1 × 1 or beyond the pixel layer's limits.
    // A pure function of its arguments: undo and redo re-render a shorter or
    // longer list.
    // Cost: each stroke touches only the pixels its dabs (and its selection)
    // reach, each gradient the image or its selection's box, in parallel bands.
    static std::optional<PaintLayers> render(const std::vector<PaintOp>& ops, int width, int height);
};

} // namespace zephrin
