// Where a matte is visible, measured on the 256-grid.

#include "engine/matte/MatteEngine.h"
#include "engine/matte/MatteGrid.h"

#include <opencv2/imgproc.hpp>

namespace zephrin {

std::optional<QRectF> MatteEngine::matteBounds(const Matte& matte) const
{
    const cv::Rect extent = matte.extent();
    if (extent.width < 1 || extent.height < 1)
        return std::nullopt;
    int step = 1;
    const MatteGrid grid = steppedGrid(extent.size(), 256, &step);
    const cv::Mat visible = renderOnGrid(m_context, matte, extent, grid) > 12;
    if (cv::countNonZero(visible) == 0)
        return std::nullopt;
    const cv::Rect cells = cv::boundingRect(visible);
    return QRectF(extent.x + cells.x * step, extent.y + cells.y * step, cells.width * step, cells.height * step);
}

} // namespace zephrin
