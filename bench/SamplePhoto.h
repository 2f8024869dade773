#pragma once
// The 12-megapixel photo of the end-to-end benchmarks: the sample that
// scripts/setup fetches (.cache/sample/coffee.png) stretched to 4000 × 3000,
// or, without it, a seeded synthetic scene of a cup on a textured table.

#include <QImage>

namespace zephrin::bench {

QImage samplePhoto();

} // namespace zephrin::bench
