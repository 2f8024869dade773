#pragma once
// A seeded product photograph for flat-backdrop tests and benchmarks: the same
// seed gives the same pixels on every run and machine.

#include "engine/pixel/Image.h"

namespace zephrin::testing {

// A warm white sheet, lit a little unevenly and with fine grain, under a
// textured product of several overlapping parts with antialiased edges and a
// soft shadow, in the middle of the frame (about a third of it). Opaque.
Image productOnSheet(cv::Size size, unsigned seed);

} // namespace zephrin::testing
