#pragma once
// Exact integer rounding of x / 255 for 0 ≤ x ≤ 255 × 255 + 255, the product of two
// 8-bit fractions (halves cannot occur: 255 is odd).

namespace zephrin::detail {

constexpr int div255(int x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

} // namespace zephrin::detail
