#include "controls/ChipWidths.h"

#include <algorithm>
#include <numeric>

namespace zephrin::chips {

QList<double> widths(const QList<double>& natural, double width, double spacing)
{
    const auto count = natural.size();
    if (count == 0)
        return {};
    const double available = std::max(0.0, width - spacing * double(count - 1));
    const double share = available / double(count);
    if (*std::max_element(natural.begin(), natural.end()) <= share)
        return QList<double>(count, share);
    const double asked = std::accumulate(natural.begin(), natural.end(), 0.0);
    QList<double> result;
    result.reserve(count);
    for (const double n : natural)
        result.append(asked <= available ? n + (available - asked) / double(count) : n * available / asked);
    return result;
}

} // namespace zephrin::chips
