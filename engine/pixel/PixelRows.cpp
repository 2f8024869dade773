#include "engine/pixel/PixelRows.h"

#include "engine/pixel/detail/Div255.h"

#include <opencv2/core/hal/intrin.hpp>

#include <cstring>

namespace zephrin::pixelRows {

namespace {

constexpr int kPixelsPerVector = 4;  // 16 bytes

// detail::div255 on eight 16-bit lanes (x ≤ 255 × 255: nothing overflows).
inline cv::v_uint16x8 div255(cv::v_uint16x8 x)
{
    x = cv::v_add_wrap(x, cv::v_setall_u16(128));
    return cv::v_shr<8>(cv::v_add_wrap(x, cv::v_shr<8>(x)));
}

// Four 8-bit values, each spread over the four bytes of its pixel.
inline cv::v_uint8x16 spread(cv::v_uint32x4 values)
{
    values = values | cv::v_shl<8>(values);
    return cv::v_reinterpret_as_u8(values | cv::v_shl<16>(values));
}

inline cv::v_uint8x16 alphaSpread(const cv::v_uint8x16& rgba) { return spread(cv::v_shr<24>(cv::v_reinterpret_as_u32(rgba))); }

// A matte row's bytes lie at any address: copied out rather than loaded as an int.
inline cv::v_uint8x16 matteSpread(const uchar* matte)
{
    alignas(4) uchar four[4];
    std::memcpy(four, matte, sizeof four);
    return spread(cv::v_load_expand_q(four));
}

// a × b / 255 for each byte.
inline cv::v_uint8x16 pixelProduct(const cv::v_uint8x16& a, const cv::v_uint8x16& b)
{
    cv::v_uint16x8 a0, a1, b0, b1;
    cv::v_expand(a, a0, a1);
    cv::v_expand(b, b0, b1);
    return cv::v_pack(div255(cv::v_mul_wrap(a0, b0)), div255(cv::v_mul_wrap(a1, b1)));
}

// (a × m + b × (255 − m)) / 255 for each byte.
inline cv::v_uint8x16 mix(const cv::v_uint8x16& a, const cv::v_uint8x16& b, const cv::v_uint8x16& m)
{
    cv::v_uint16x8 a0, a1, b0, b1, m0, m1, n0, n1;
    cv::v_expand(a, a0, a1);
    cv::v_expand(b, b0, b1);
    cv::v_expand(m, m0, m1);
    cv::v_expand(cv::v_setall_u8(255) - m, n0, n1);
    return cv::v_pack(div255(cv::v_add_wrap(cv::v_mul_wrap(a0, m0), cv::v_mul_wrap(b0, n0))),
                      div255(cv::v_add_wrap(cv::v_mul_wrap(a1, m1), cv::v_mul_wrap(b1, n1))));
}

} // namespace

void over(const uchar* front, const uchar* back, uchar* out, int pixels)
{
    int x = 0;
    for (; x + kPixelsPerVector <= pixels; x += kPixelsPerVector) {
        const cv::v_uint8x16 f = cv::v_load(front + 4 * x);
        const cv::v_uint8x16 b = cv::v_load(back + 4 * x);
        cv::v_store(out + 4 * x, f + pixelProduct(b, cv::v_setall_u8(255) - alphaSpread(f)));  // + saturates
    }
    for (; x < pixels; ++x) {
        const int uncovered = 255 - front[4 * x + 3];
        for (int c = 0; c < 4; ++c) {
            const int i = 4 * x + c;
            out[i] = cv::saturate_cast<uchar>(front[i] + detail::div255(back[i] * uncovered));
        }
    }
}

void masked(const uchar* rgba, const uchar* matte, uchar* out, int pixels)
{
    int x = 0;
    for (; x + kPixelsPerVector <= pixels; x += kPixelsPerVector)
        cv::v_store(out + 4 * x, pixelProduct(cv::v_load(rgba + 4 * x), matteSpread(matte + x)));
    for (; x < pixels; ++x)
        for (int c = 0; c < 4; ++c)
            out[4 * x + c] = uchar(detail::div255(rgba[4 * x + c] * matte[x]));
}

void blended(const uchar* front, const uchar* back, const uchar* matte, uchar* out, int pixels)
{
    int x = 0;
    for (; x + kPixelsPerVector <= pixels; x += kPixelsPerVector)
        cv::v_store(out + 4 * x, mix(cv::v_load(front + 4 * x), cv::v_load(back + 4 * x), matteSpread(matte + x)));
    for (; x < pixels; ++x) {
        const int weight = matte[x];
        for (int c = 0; c < 4; ++c) {
            const int i = 4 * x + c;
            out[i] = uchar(detail::div255(front[i] * weight + back[i] * (255 - weight)));
        }
    }
}

void filled(const std::array<uchar, 4>& pixel, uchar* out, int pixels)
{
    for (int x = 0; x < pixels; ++x)
        std::memcpy(out + 4 * x, pixel.data(), 4);
}

void alphaOf(const uchar* rgba, uchar* alpha, int pixels)
{
    // The compiler vectorises this better than SSE2's packs allow by hand.
    for (int x = 0; x < pixels; ++x)
        alpha[x] = rgba[4 * x + 3];
}

void product(const uchar* a, const uchar* b, uchar* out, int values)
{
    int i = 0;
    for (; i + 16 <= values; i += 16)
        cv::v_store(out + i, pixelProduct(cv::v_load(a + i), cv::v_load(b + i)));
    for (; i < values; ++i)
        out[i] = uchar(detail::div255(a[i] * b[i]));
}

void lookedUp(const uchar* matte, const uchar* table, uchar* out, int pixels)
{
    for (int x = 0; x < pixels; ++x)
        std::memcpy(out + 4 * x, table + 4 * matte[x], 4);
}

} // namespace zephrin::pixelRows
