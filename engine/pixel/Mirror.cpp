#include "engine/pixel/Mirror.h"

#include "engine/pixel/detail/PixelMap.h"

#include <cstring>

namespace zephrin {

namespace {

template <class Value>
Value mirroredValue(const Value& value)
{
    if (value.empty())
        return value;
    const size_t pixelBytes = value.pixels.elemSize();
    return Value(detail::mapPixels(value.pixels, Value::kPixelType,
                                   [&](const uchar* in, uchar* out, int width) {
                                       for (int x = 0; x < width; ++x)
                                           std::memcpy(out + size_t(width - 1 - x) * pixelBytes,
                                                       in + size_t(x) * pixelBytes, pixelBytes);
                                   }),
                 value.origin);
}

} // namespace

Image mirrored(const Image& image) { return mirroredValue(image); }
Matte mirrored(const Matte& matte) { return mirroredValue(matte); }

} // namespace zephrin
