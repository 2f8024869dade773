#include "inspector/PanelValueText.h"

#include "controls/ValueText.h"

#include <algorithm>
#include <cmath>

namespace zephrin::inspector {

QString truncatedWhole(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    const double nudge = std::copysign(1e-9 * std::max(1.0, std::abs(value)), value);
    return valuetext::truncated(value + nudge);
}

} // namespace zephrin::inspector
