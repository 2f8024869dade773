#pragma once
// A blur that sees past an image's edge: the edge pixels repeat outwards over
// `area` (as far as the blur reaches beyond it), the whole is blurred by `sigma`
// (none for sigma ≤ 0), and the result covers exactly `area`.

#include "engine/pixel/Image.h"

namespace zephrin {

Image blurredOver(const Image& image, const cv::Rect& area, double sigma);

} // namespace zephrin
