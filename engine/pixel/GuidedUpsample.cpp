#include "engine/pixel/GuidedUpsample.h"

#include "engine/pixel/ParallelRows.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace zephrin {

namespace {

cv::Mat boxMean(const cv::Mat& values, int radius)
{
    cv::Mat mean;
    cv::boxFilter(values, mean, CV_32F, cv::Size(2 * radius + 1, 2 * radius + 1), cv::Point(-1, -1), true,
                  cv::BORDER_REFLECT);
    return mean;
}

} // namespace

Matte guidedUpsample(const Matte& lowMatte, const Image& guide, int radius, double epsilon)
{
    if (lowMatte.empty() || guide.empty())
        return Matte(cv::Mat(0, 0, CV_8UC1), guide.origin);
    radius = std::max(radius, 1);
    epsilon = std::max(epsilon, 1e-8); // keeps the fit finite on a flat guide

    cv::Mat fullGrey;
    cv::cvtColor(guide.pixels, fullGrey, cv::COLOR_RGBA2GRAY);
    cv::Mat lowGrey;
    cv::resize(fullGrey, lowGrey, lowMatte.size(), 0, 0, cv::INTER_AREA);

    // The fit, at low resolution: a = cov(I, p) / (var(I) + ε), b = mean(p) − a × mean(I).
    cv::Mat I, p;
    lowGrey.convertTo(I, CV_32F, 1.0 / 255);
    lowMatte.pixels.convertTo(p, CV_32F, 1.0 / 255);
    const cv::Mat meanI = boxMean(I, radius);
    const cv::Mat meanP = boxMean(p, radius);
    const cv::Mat covIP = boxMean(I.mul(p), radius) - meanI.mul(meanP);
    const cv::Mat varI = boxMean(I.mul(I), radius) - meanI.mul(meanI);
    const cv::Mat a = covIP / (varI + epsilon);
    const cv::Mat b = meanP - a.mul(meanI);

    cv::Mat fullA, fullB;
    cv::resize(boxMean(a, radius), fullA, guide.size(), 0, 0, cv::INTER_LINEAR);
    cv::resize(boxMean(b, radius), fullB, guide.size(), 0, 0, cv::INTER_LINEAR);

    cv::Mat out(guide.size(), CV_8UC1);
    const int width = guide.width();
    parallelRows(guide.height(), width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* grey = fullGrey.ptr(y);
            const float* rowA = fullA.ptr<float>(y);
            const float* rowB = fullB.ptr<float>(y);
            uchar* row = out.ptr(y);
            for (int x = 0; x < width; ++x) {
                const float q = (rowA[x] * (float(grey[x]) / 255.0f) + rowB[x]) * 255.0f;
                row[x] = uchar(std::clamp(q + 0.5f, 0.0f, 255.0f));
            }
        }
    });
    return Matte(out, guide.origin);
}

} // namespace zephrin
