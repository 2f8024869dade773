#pragma once
// The picture behind the subject as the editor and its undo history hold it.
// A picture is named by the generation of the box it was first made in, and
// that name stays when history lets its pixels go: a generated backdrop can be
// rendered again, the same pixels at the same size, when a step brings it
// back. A picture read from a file (a photo, a saved background, one of the
// user's own) cannot: its file may have changed or gone since, so history
// keeps its pixels.

#include "content/backdrops/Backdrop.h"
#include "engine/types/ImageBox.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace zephrin {

// How a picture is made again: the generated backdrop and the size it was
// rendered at.
struct BackdropRecipe {
    Backdrop backdrop;
    int width = 0;
    int height = 0;
};

struct BackdropPicture {
    std::uint64_t generation = 0;
    std::optional<ImageBox> pixels;                // none while let go
    std::shared_ptr<const BackdropRecipe> recipe;  // none: it cannot be made again

    // A picture as it arrives, with what makes it again when there is such a thing.
    static BackdropPicture of(const ImageBox& box, std::shared_ptr<const BackdropRecipe> recipe = {})
    {
        return {box.generation(), box, std::move(recipe)};
    }
    bool canLetGo() const { return pixels && recipe; }
};

} // namespace zephrin
