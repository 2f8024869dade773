#include "engine/pixel/Translate.h"

namespace zephrin {

Image translated(const Image& image, cv::Point offset) { return Image(image.pixels, image.origin + offset); }

Matte translated(const Matte& matte, cv::Point offset) { return Matte(matte.pixels, matte.origin + offset); }

} // namespace zephrin
