#include "content/backdrops/LineMotionBlur.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace zephrin {

namespace {

// The segment's samples splatted bilinearly onto a square kernel, trimmed to
// the rows and columns they touch and normalised to sum 1.
cv::Mat lineKernel(int radius, double angle)
{
    const int side = 2 * radius + 1;
    cv::Mat kernel(side, side, CV_32F, cv::Scalar(0));
    // The angle is measured with y up, the rows run down: the one flip.
    const double dx = std::cos(angle);
    const double dy = -std::sin(angle);
    for (int k = -radius; k <= radius; ++k) {
        const double x = radius + k * dx;
        const double y = radius + k * dy;
        const int x0 = static_cast<int>(std::floor(x));
        const int y0 = static_cast<int>(std::floor(y));
        const double fx = x - x0;
        const double fy = y - y0;
        const double weights[2][2] = {{(1 - fx) * (1 - fy), fx * (1 - fy)}, {(1 - fx) * fy, fx * fy}};
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                if (x0 + i < side && y0 + j < side && weights[j][i] > 1e-6)
                    kernel.at<float>(y0 + j, x0 + i) += static_cast<float>(weights[j][i]);
    }
    cv::Mat rows, cols;
    cv::reduce(kernel, rows, 1, cv::REDUCE_SUM);
    cv::reduce(kernel, cols, 0, cv::REDUCE_SUM);
    int top = 0, bottom = side - 1, left = 0, right = side - 1;
    while (rows.at<float>(top) == 0) ++top;
    while (rows.at<float>(bottom) == 0) --bottom;
    while (cols.at<float>(left) == 0) ++left;
    while (cols.at<float>(right) == 0) --right;
    cv::Mat trimmed = kernel(cv::Range(top, bottom + 1), cv::Range(left, right + 1)).clone();
    return trimmed / cv::sum(trimmed)[0];
}

} // namespace

cv::Mat lineMotionBlur(const cv::Mat& image, int radius, double angle)
{
    if (radius <= 0 || image.empty())
        return image.clone();
    const cv::Mat kernel = lineKernel(radius, angle);
    cv::Mat blurred;
    // Along an axis the kernel is a plain box: a running sum is much faster.
    if (kernel.rows == 1 || kernel.cols == 1) {
        double low = 0, high = 0;
        cv::minMaxLoc(kernel, &low, &high);
        if (high - low < 1e-6) {
            cv::blur(image, blurred, kernel.size(), cv::Point(-1, -1), cv::BORDER_REFLECT_101);
            return blurred;
        }
    }
    cv::filter2D(image, blurred, -1, kernel, cv::Point(-1, -1), 0, cv::BORDER_REFLECT_101);
    return blurred;
}

} // namespace zephrin
