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

// Saturation 0 and contrast 3.2 about mid-grey: the luminance of the streaks,
// pushed apart so that only the strongest read as threads.
cv::Mat contrastyGrey(const cv::Mat& rgb)
{
    cv::Mat grey(rgb.size(), CV_32FC1);
    cv::parallel_for_(cv::Range(0, rgb.rows), [&](const cv::Range& rows) {
        for (int y = rows.start; y < rows.end; ++y) {
            const auto* in = rgb.ptr<cv::Vec3f>(y);
            auto* out = grey.ptr<float>(y);
            for (int x = 0; x < rgb.cols; ++x) {
                const float luminance = 0.2125f * in[x][0] + 0.7154f * in[x][1] + 0.0721f * in[x][2];
                out[x] = (luminance - 0.5f) * static_cast<float>(kFiberContrast) + 0.5f;
            }
        }
    });
    return grey;
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
        for (const double angle : {0.0, std::numbers::pi / 2}) {
            const cv::Mat streaks = lineMotionBlur(noise, kFiberRadius, angle);
            NoiseLayer layer = noiseLayer(contrastyGrey(streaks), kFiberAlpha * amount);
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
