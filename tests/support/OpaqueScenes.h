#pragma once
// Opaque test pictures built from flat rectangles, for the colour-keying tests.

#include "engine/pixel/Image.h"

namespace zephrin::testing {

// An opaque w × h image of one colour (bytes R, G, B).
inline Image opaqueImage(int w, int h, cv::Scalar rgb)
{
    return Image(cv::Mat(h, w, CV_8UC4, cv::Scalar(rgb[0], rgb[1], rgb[2], 255)));
}

// Paints an opaque rectangle of one colour into the image.
inline void paintRect(Image& image, cv::Rect area, cv::Scalar rgb)
{
    image.pixels(area).setTo(cv::Scalar(rgb[0], rgb[1], rgb[2], 255));
}

} // namespace zephrin::testing
