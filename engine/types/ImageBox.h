#pragma once
// One immutable image, so that images can travel inside value types and between
// tasks. Copies share the pixels; nobody writes to them.

#include "engine/pixel/Image.h"

#include <cstdint>

namespace zephrin {

class ImageBox {
public:
    explicit ImageBox(Image image);
    // The pixels of the box `generation` named, made again exactly as they were
    // (a picture let go and rendered or decoded anew): they keep its name, so
    // that what was kept under it still holds.
    ImageBox(Image image, std::uint64_t generation);

    const Image& image() const { return m_image; }

    // Names these pixels: every box made from an image gets a new number (unique
    // within the process), and copies of a box keep it. Caches key on it rather
    // than comparing pixels; a changed picture always arrives in a new box.
    std::uint64_t generation() const { return m_generation; }

private:
    Image m_image;
    std::uint64_t m_generation;
};

} // namespace zephrin
