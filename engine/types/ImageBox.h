#pragma once
// One immutable image, so that images can travel inside value types and between
// tasks. Copies share the pixels; nobody writes to them.

#include "engine/pixel/Image.h"

namespace zephrin {

class ImageBox {
public:
    explicit ImageBox(Image image) : m_image(std::move(image)) {}

    const Image& image() const { return m_image; }

private:
    Image m_image;
};

} // namespace zephrin
