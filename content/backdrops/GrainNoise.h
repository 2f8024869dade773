#pragma once
// The random field behind film grain: every integer position of the plane
// carries three independent values uniform in [0, 1), a pure function of the
// position. Repeatable across runs, machines and thread counts.

#include <opencv2/core.hpp>

#include <cstdint>

namespace zephrin {

// The field over `area` (image space): its first `channels` values (1 to 3)
// as CV_32FC(channels). The seed moves the field by
// (3 × (seed mod 997), 3 × (seed mod 991)), so different seeds show different
// parts of it. With `coarse` the field is enlarged 1.6 times (linear
// interpolation), for a grain that stays visible on large outputs.
cv::Mat grainNoise(cv::Rect area, std::uint64_t seed, bool coarse, int channels = 3);

} // namespace zephrin
