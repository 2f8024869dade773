#include "engine/matte/MatteGrid.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace zephrin {

MatteGrid grid256(cv::Size size, int* step)
{
    const int cellStep = std::max({size.width, size.height, 256}) / 256;
    if (step)
        *step = cellStep;
    const cv::Size cells(cellStep > size.width ? 1 : size.width / cellStep, std::max(size.height / cellStep, 1));
    return {cells, 1.0 / cellStep};
}

MatteGrid grid1024(cv::Size size)
{
    const int longSide = std::max(size.width, size.height);
    const double s = longSide > 1024 ? 1024.0 / longSide : 1.0;
    const cv::Size cells(std::max(int(s * size.width), 1), std::max(int(s * size.height), 1));
    return {cells, s};
}

cv::Mat renderOnGrid(const RenderContext& context, const Matte& matte, cv::Rect area, const MatteGrid& grid)
{
    const cv::Mat full = context.render(matte, area);
    if (full.size() == grid.size)
        return full;
    cv::Mat cells;
    cv::resize(full, cells, grid.size, 0, 0, cv::INTER_AREA);
    return cells;
}

} // namespace zephrin
