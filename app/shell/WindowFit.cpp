#include "app/shell/WindowFit.h"

#include <algorithm>

namespace zephrin {

QSize fittedWindowSize(QSize preferred, QSize minimum, QSize workArea)
{
    if (workArea.isEmpty())
        return preferred;
    const int width = std::min(preferred.width(), workArea.width());
    const int height = std::min(preferred.height(), workArea.height() - kTitleBarAllowance);
    return QSize(std::max(width, minimum.width()), std::max(height, minimum.height()));
}

} // namespace zephrin
