#pragma once
// The one plain pixel buffer of the engines, and the reader that makes it.

#include "engine/pixel/Image.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace zephrin {

// sRGB, 8 bits per channel, bytes in the order R, G, B, A with alpha
// premultiplied, rows top first, each row exactly width * 4 bytes.
// Pixel (x, y) starts at byte (y * width + x) * 4.
struct RGBABitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    const std::uint8_t* pixel(int x, int y) const { return bytes.data() + (static_cast<size_t>(y) * width + x) * 4; }
    // A view of the bytes as a CV_8UC4 matrix (no copy; valid while the bitmap lives).
    cv::Mat view() const;
};

// Reads an image into an RGBABitmap, scaled down (never up) so that its longer
// side is at most maxLongEdge: target size max(1, round(w * scale)) by
// max(1, round(h * scale)), halves away from zero. High-quality (area)
// resampling on premultiplied colour. Returns nullopt for an empty image or a
// non-positive maxLongEdge.
std::optional<RGBABitmap> makeBitmap(const Image& image, int maxLongEdge);

} // namespace zephrin
