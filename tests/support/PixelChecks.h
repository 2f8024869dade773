#pragma once
// Assertions shared by the pixel tests.

#include "engine/pixel/Image.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

namespace zephrin::testing {

// Every colour channel at most its alpha (the premultiplied invariant).
inline ::testing::AssertionResult isPremultiplied(const Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const cv::Vec4b p = image.pixels.at<cv::Vec4b>(y, x);
            if (p[0] > p[3] || p[1] > p[3] || p[2] > p[3])
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") = " << cv::Mat(p).t();
        }
    return ::testing::AssertionSuccess();
}

// The largest absolute difference between two buffers of one size and type.
inline double maxDifference(const cv::Mat& a, const cv::Mat& b)
{
    cv::Mat difference;
    cv::absdiff(a, b, difference);
    double largest = 0;
    cv::minMaxLoc(difference.reshape(1), nullptr, &largest);
    return largest;
}

} // namespace zephrin::testing
