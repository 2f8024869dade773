#include "engine/types/ImageBox.h"

#include <atomic>

namespace zephrin {

namespace {

std::uint64_t nextGeneration()
{
    static std::atomic<std::uint64_t> counter{0};
    return counter.fetch_add(1, std::memory_order_relaxed) + 1;
}

} // namespace

ImageBox::ImageBox(Image image) : m_image(std::move(image)), m_generation(nextGeneration()) {}

ImageBox::ImageBox(Image image, std::uint64_t generation) : m_image(std::move(image)), m_generation(generation) {}

} // namespace zephrin
