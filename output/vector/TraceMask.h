#pragma once
// The two-valued masks the vectorizer traces: one byte per pixel, 1 = set,
// 0 = clear (never any other value, so masks combine with bit operators),
// rows top first, width * height bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zephrin::tracing {

struct TraceMask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;  // width * height, row-major

    TraceMask() = default;
    TraceMask(int w, int h) : width(w), height(h), bits(static_cast<std::size_t>(w) * h, 0) {}

    std::uint8_t* row(int y) { return bits.data() + static_cast<std::size_t>(y) * width; }
    const std::uint8_t* row(int y) const { return bits.data() + static_cast<std::size_t>(y) * width; }
    std::uint8_t at(int x, int y) const { return row(y)[x]; }
    void set(int x, int y) { row(y)[x] = 1; }
};

// A mask together with the number of pixels it has set.
struct CountedMask {
    TraceMask mask;
    int count = 0;
};

} // namespace zephrin::tracing
