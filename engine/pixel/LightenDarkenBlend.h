#pragma once
// The lighter or darker of two mattes, value by value.
//
// Mattes CV_8UC1 in and out. lightenBlend takes the maximum and covers the union
// of the extents; darkenBlend takes the minimum and covers their intersection
// (outside its extent a matte is black, so the minimum is black there; empty at
// the first matte's origin when they do not meet). Cost: one parallel pass.

#include "engine/pixel/Image.h"

namespace zephrin {

Matte lightenBlend(const Matte& a, const Matte& b);
Matte darkenBlend(const Matte& a, const Matte& b);

} // namespace zephrin
