// Film grain and woven fibres over a rendered backdrop.

#include "content/backdrops/Backdrop.h"
#include "content/backdrops/GrainNoise.h"
#include "content/backdrops/LineMotionBlur.h"

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace zephrin {

namespace {

constexpr int kFiberRadius = 9;
constexpr double kFiberContrast = 3.2;
constexpr double kFiberAlpha = 0.9;   // of the grain amount
constexpr int kCoarseAbove = 1200;    // extents wider or taller get coarser noise

// A grey layer of constant alpha: premultiplied it is (v a, v a, v a, a).
struct NoiseLayer {
    cv::Mat value;  // CV_32FC1, nominally 0 to 1 but unclamped, as the filters leave it
    float alpha = 0;
};

// The noise's red channel as grey, at alpha `alpha`.
NoiseLayer noiseLayer(const cv::Mat& noise, double alpha)
{
    NoiseLayer layer{cv::Mat(), static_cast<float>(alpha)};
    cv::extractChannel(noise, layer.value, 0);
    return layer;
}

// Saturation 0: the noise's luminance. Blurring is linear, so taking it before
// the streaks are blurred gives the same grey at a third of the cost.
cv::Mat luminanceOf(const cv::Mat& rgb)
{
    cv::Mat grey;
    cv::transform(rgb, grey, cv::Matx13f(0.2125f, 0.7154f, 0.0721f));
    return grey;
}

// Contrast 3.2 about mid-grey, so that only the strongest streaks read as threads.
cv::Mat withFiberContrast(const cv::Mat& grey)
{
    return (grey - 0.5) * kFiberContrast + 0.5;
}

// The layers, in order, each laid source-over the image; one pass, float inside,
// rounded to bytes at the end. Every layer covers `pixels` exactly.
void overlay(cv::Mat& pixels, const std::vector<NoiseLayer>& layers)
{
    cv::parallel_for_(cv::Range(0, pixels.rows), [&](const cv::Range& rows) {
        std::vector<const float*> values(layers.size());
        for (int y = rows.start; y < rows.end; ++y) {
            for (std::size_t i = 0; i < layers.size(); ++i)
                values[i] = layers[i].value.ptr<float>(y);
            auto* row = pixels.ptr<cv::Vec4b>(y);
            for (int x = 0; x < pixels.cols; ++x) {
                float c[4] = {float(row[x][0]), float(row[x][1]), float(row[x][2]), float(row[x][3])};
                for (std::size_t i = 0; i < layers.size(); ++i) {
                    const float a = layers[i].alpha;
                    const float grey = values[i][x] * a * 255.0f;
                    for (int k = 0; k < 3; ++k)
                        c[k] = grey + c[k] * (1 - a);
                    c[3] = a * 255.0f + c[3] * (1 - a);
                }
                for (int k = 0; k < 4; ++k)
                    row[x][k] = cv::saturate_cast<uchar>(c[k]);
                // Unclamped noise may push a colour past its alpha; keep it premultiplied.
                for (int k = 0; k < 3; ++k)
                    row[x][k] = std::min(row[x][k], row[x][3]);
            }
        }
    });
}

} // namespace

Image Backdrop::addGrain(const Image& image, bool fibers, std::uint64_t seed, cv::Rect extent, double amount)
{
    if (!(amount > 0))
        return image;
    const bool coarse = extent.width > kCoarseAbove || extent.height > kCoarseAbove;
    const int margin = fibers ? kFiberRadius : 0;
    const cv::Rect area(extent.x - margin, extent.y - margin, extent.width + 2 * margin,
                        extent.height + 2 * margin);
    // Grain reads only the red values; the fibres' luminance needs all three.
    const cv::Mat noise = grainNoise(area, seed, coarse, fibers ? 3 : 1);
    const cv::Rect inner(margin, margin, extent.width, extent.height);

    std::vector<NoiseLayer> layers;
    if (fibers) {
        const cv::Mat grey = luminanceOf(noise);
        for (const double angle : {0.0, std::numbers::pi / 2}) {
            const cv::Mat streaks = lineMotionBlur(grey, kFiberRadius, angle);
            NoiseLayer layer = noiseLayer(withFiberContrast(streaks), kFiberAlpha * amount);
            layer.value = layer.value(inner);
            layers.push_back(layer);
        }
    }
    NoiseLayer grain = noiseLayer(noise, amount);
    grain.value = grain.value(inner);
    layers.push_back(grain);

    cv::Mat pixels = renderRGBA8(image, extent);
    overlay(pixels, layers);
    return Image(pixels, extent.tl());
}

} // namespace zephrin
