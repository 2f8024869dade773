#include "engine/text/TextLayer.h"

#include <algorithm>

namespace zephrin {

double TextLayer::fontSize(double scale) const
{
    return std::max(size * scale, 4.0);
}

} // namespace zephrin
