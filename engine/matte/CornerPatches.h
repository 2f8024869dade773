#pragma once
// Colour samples from the four corners of an image, and the backdrop colour
// they suggest.

#include "engine/types/RGBAColor.h"

#include <opencv2/core.hpp>

#include <array>

namespace zephrin {

// The mean colour (alpha 1) of the square patch at each corner of RGBA bytes
// (CV_8UC4, colour used as stored), in the order top-left, top-right,
// bottom-left, bottom-right. The patch side is min(width, height) / 33 (integer
// division), but 2 below 66 pixels; patches are clipped to the image.
// An empty image gives four black entries.
std::array<RGBAColor, 4> cornerPatchColors(const cv::Mat& rgba);

// The backdrop colour the corners suggest: the corner farthest from the others
// (largest sum of distances; the first on a tie) is dropped as the one a subject
// may cover, and the other three are averaged.
RGBAColor keyColorFromCorners(const std::array<RGBAColor, 4>& corners);

} // namespace zephrin
