#include "engine/pixel/Crop.h"

namespace zephrin {

namespace {

template <class Value>
Value croppedValue(const Value& value, cv::Rect area)
{
    const cv::Rect kept = area & value.extent();
    if (kept.empty())
        return Value(cv::Mat(0, 0, Value::kPixelType), area.tl());
    return Value(value.pixels(kept - value.origin), kept.tl());
}

} // namespace

Image cropped(const Image& image, cv::Rect area) { return croppedValue(image, area); }

Matte cropped(const Matte& matte, cv::Rect area) { return croppedValue(matte, area); }

} // namespace zephrin
