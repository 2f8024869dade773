#include "engine/matte/MatteGrid.h"

#include "engine/pixel/AreaReduction.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace zephrin {

MatteGrid steppedGrid(cv::Size size, int cells, int* step)
{
    const int cellStep = std::max({size.width, size.height, cells}) / cells;
    if (step)
        *step = cellStep;
    const cv::Size counts(cellStep > size.width ? 1 : size.width / cellStep, std::max(size.height / cellStep, 1));
    return {counts, 1.0 / cellStep};
}

MatteGrid fittedGrid(cv::Size size, int longSide)
{
    const double s = std::min(double(longSide) / std::max(size.width, size.height), 1.0);
    const cv::Size counts(std::max(int(s * size.width), 1), std::max(int(s * size.height), 1));
    return {counts, s};
}

cv::Mat scaledToGrid(const cv::Mat& pixels, cv::Size cells, int interpolation)
{
    if (pixels.size() == cells)
        return pixels;
    cv::Mat scaled;
    cv::resize(pixels, scaled, cells, 0, 0, interpolation);
    return scaled;
}

cv::Mat renderOnGrid(const RenderContext& context, const Matte& matte, cv::Rect area, const MatteGrid& grid)
{
    const cv::Mat rendered = context.render(matte, area);
    if (rendered.size() == grid.size)
        return rendered;
    if (grid.size.width > rendered.cols || grid.size.height > rendered.rows)
        return scaledToGrid(rendered, grid.size, cv::INTER_AREA);
    return areaReduced(rendered, 0, grid.size);
}

} // namespace zephrin
