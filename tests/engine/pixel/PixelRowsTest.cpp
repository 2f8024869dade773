// The vector kernels against the arithmetic they stand for, pixel by pixel, on
// random bytes and the extremes, at lengths that end inside a vector.

#include "engine/pixel/PixelRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace zephrin;

namespace {

// x / 255 rounded to the nearest integer.
int rounded(int x) { return int(std::lround(x / 255.0)); }

struct Rows {
    std::vector<uchar> a, b, m;
};

Rows randomRows(int pixels, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    // A quarter of the bytes at the extremes, where rounding and saturation bite.
    const auto next = [&] {
        const int v = byte(random);
        return uchar(v < 32 ? 0 : v > 223 ? 255 : byte(random));
    };
    Rows rows{std::vector<uchar>(size_t(4 * pixels)), std::vector<uchar>(size_t(4 * pixels)),
              std::vector<uchar>(size_t(pixels))};
    for (auto* row : {&rows.a, &rows.b, &rows.m})
        for (uchar& value : *row)
            value = next();
    return rows;
}

} // namespace

TEST(PixelRows, VectorKernelsGiveTheRoundedArithmeticAtEveryLength)
{
    for (const int pixels : {0, 1, 3, 4, 5, 7, 8, 13, 4096 + 3}) {
        const Rows in = randomRows(pixels, unsigned(pixels) + 1);
        std::vector<uchar> over(in.a.size()), masked(in.a.size()), blended(in.a.size()), alphas(in.m.size());
        pixelRows::over(in.a.data(), in.b.data(), over.data(), pixels);
        pixelRows::masked(in.a.data(), in.m.data(), masked.data(), pixels);
        pixelRows::blended(in.a.data(), in.b.data(), in.m.data(), blended.data(), pixels);
        pixelRows::alphaOf(in.a.data(), alphas.data(), pixels);
        for (int x = 0; x < pixels; ++x)
            for (int c = 0; c < 4; ++c) {
                const size_t i = size_t(4 * x + c);
                const int front = in.a[i], back = in.b[i], alpha = in.a[size_t(4 * x + 3)], m = in.m[size_t(x)];
                ASSERT_EQ(over[i], std::min(255, front + rounded(back * (255 - alpha)))) << pixels << " px, " << i;
                ASSERT_EQ(masked[i], rounded(front * m)) << pixels << " px, " << i;
                ASSERT_EQ(blended[i], rounded(front * m + back * (255 - m))) << pixels << " px, " << i;
                ASSERT_EQ(alphas[size_t(x)], alpha) << pixels << " px, " << x;
            }
    }
}

TEST(PixelRows, OverMayWriteIntoEitherInput)
{
    const int pixels = 37;
    const Rows in = randomRows(pixels, 99);
    std::vector<uchar> expected(in.a.size());
    pixelRows::over(in.a.data(), in.b.data(), expected.data(), pixels);
    std::vector<uchar> front = in.a, back = in.b;
    pixelRows::over(front.data(), in.b.data(), front.data(), pixels);
    pixelRows::over(in.a.data(), back.data(), back.data(), pixels);
    EXPECT_EQ(front, expected);
    EXPECT_EQ(back, expected);
}
