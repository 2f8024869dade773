#include "engine/pixel/ColorMatrix.h"

#include "engine/pixel/detail/ColourMaps.h"

namespace zephrin {

Image colorMatrix(const Image& image, const ColorMatrix& matrix)
{
    cv::Matx44f weights;
    const std::array<double, 4>* rows[] = {&matrix.r, &matrix.g, &matrix.b, &matrix.a};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            weights(i, j) = float((*rows[i])[size_t(j)]);
    const cv::Vec4f bias(float(matrix.bias[0]), float(matrix.bias[1]), float(matrix.bias[2]), float(matrix.bias[3]));
    return detail::mapStraightColour(image, [&](cv::Vec4f& colour) { colour = weights * colour + bias; });
}

Matte colorMatrix(const Matte& matte, const ColorMatrix& matrix)
{
    const double gain = matrix.r[0] + matrix.r[1] + matrix.r[2];
    const double offset = matrix.r[3] + matrix.bias[0];
    return detail::mapMatteValues(matte, [&](double v) { return gain * v + offset; });
}

} // namespace zephrin
