#include "support/PixelSamples.h"

#include "engine/pixel/Premultiply.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace zephrin::testing {

namespace {

void drawShapes(cv::Mat& canvas, cv::RNG& rng, bool grey)
{
    const cv::Size size = canvas.size();
    const int shapes = 24 + int(std::min<long>(size.area() / 200000, 100));
    const int longSide = std::max(size.width, size.height);
    for (int i = 0; i < shapes; ++i) {
        const int level = rng.uniform(0, 256);
        const cv::Scalar colour = grey ? cv::Scalar::all(level)
                                       : cv::Scalar(rng.uniform(0, 256), rng.uniform(0, 256), rng.uniform(0, 256), 255);
        const cv::Point centre(rng.uniform(0, size.width), rng.uniform(0, size.height));
        if (i % 2 == 0) {
            cv::circle(canvas, centre, rng.uniform(2, std::max(3, longSide / 8)), colour, cv::FILLED, cv::LINE_AA);
        } else {
            const cv::Size box(rng.uniform(1, std::max(2, size.width / 5)), rng.uniform(1, std::max(2, size.height / 5)));
            cv::rectangle(canvas, cv::Rect(centre, box), colour, cv::FILLED);
        }
    }
}

} // namespace

Image photoLikeImage(cv::Size size, unsigned seed, bool translucent)
{
    cv::RNG rng(seed);
    cv::Mat rgba(size, CV_8UC4);
    for (int y = 0; y < size.height; ++y) {
        auto* row = rgba.ptr<cv::Vec4b>(y);
        for (int x = 0; x < size.width; ++x)
            row[x] = cv::Vec4b(uchar(255 * x / std::max(size.width, 1)), uchar(255 * y / std::max(size.height, 1)),
                               uchar(128 + 60 * std::sin(x / 37.0) * std::cos(y / 53.0)), 255);
    }
    drawShapes(rgba, rng, false);
    cv::Mat noise(size, CV_8UC4);
    rng.fill(noise, cv::RNG::UNIFORM, cv::Scalar(0, 0, 0, 0), cv::Scalar(12, 12, 12, 1));
    rgba += noise;
    if (!translucent)
        return Image(rgba);
    // Straight colour with alphas from 0 to 255, faint ones frequent.
    cv::Mat alpha(size, CV_8UC1);
    rng.fill(alpha, cv::RNG::UNIFORM, 0, 256);
    cv::multiply(alpha, alpha, alpha, 1.0 / 255);
    cv::insertChannel(alpha, rgba, 3);
    return premultiplied(rgba);
}

Matte photoLikeMatte(cv::Size size, unsigned seed)
{
    cv::RNG rng(seed);
    cv::Mat grey(size, CV_8UC1, cv::Scalar(0));
    drawShapes(grey, rng, true);
    cv::Mat noise(size, CV_8UC1);
    rng.fill(noise, cv::RNG::UNIFORM, 0, 16);
    grey += noise;
    cv::GaussianBlur(grey, grey, cv::Size(5, 5), 1.2);
    return Matte(grey);
}

} // namespace zephrin::testing
