#include "support/ProductShot.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace zephrin::testing {

Image productOnSheet(cv::Size size, unsigned seed)
{
    cv::RNG rng(seed);
    const double w = size.width, h = size.height;
    const double unit = std::min(w, h);

    // The sheet: (246, 243, 236) falling off by up to 10 levels towards one side.
    cv::Mat rgba(size, CV_8UC4);
    for (int y = 0; y < size.height; ++y) {
        auto* row = rgba.ptr<cv::Vec4b>(y);
        for (int x = 0; x < size.width; ++x) {
            const double falloff = 10.0 * (0.6 * x / w + 0.4 * y / h);
            row[x] = cv::Vec4b(cv::saturate_cast<uchar>(246 - falloff), cv::saturate_cast<uchar>(243 - falloff),
                               cv::saturate_cast<uchar>(236 - falloff), 255);
        }
    }

    // A soft shadow below and right of the product.
    const cv::Point centre(size.width / 2, size.height / 2);
    cv::Mat shadow(size, CV_8UC1, cv::Scalar(0));
    cv::ellipse(shadow, centre + cv::Point(int(unit * 0.04), int(unit * 0.05)),
                cv::Size(int(unit * 0.36), int(unit * 0.3)), 0, 0, 360, cv::Scalar(60), cv::FILLED);
    cv::blur(shadow, shadow, cv::Size(int(unit * 0.03) | 1, int(unit * 0.03) | 1));
    cv::Mat shadowRGBA;
    cv::cvtColor(shadow, shadowRGBA, cv::COLOR_GRAY2RGBA);
    shadowRGBA.setTo(cv::Scalar(0, 0, 0, 0), shadow == 0);
    cv::subtract(rgba, shadowRGBA, rgba);

    // The product: a body, a lid and a label, with stripes and blotches.
    cv::ellipse(rgba, centre, cv::Size(int(unit * 0.34), int(unit * 0.28)), 0, 0, 360,
                cv::Scalar(150, 40, 35, 255), cv::FILLED, cv::LINE_AA);
    cv::rectangle(rgba, cv::Rect(centre.x - int(unit * 0.15), centre.y - int(unit * 0.36), int(unit * 0.3), int(unit * 0.14)),
                  cv::Scalar(40, 40, 45, 255), cv::FILLED, cv::LINE_AA);
    cv::rectangle(rgba, cv::Rect(centre.x - int(unit * 0.2), centre.y - int(unit * 0.08), int(unit * 0.4), int(unit * 0.16)),
                  cv::Scalar(235, 220, 120, 255), cv::FILLED, cv::LINE_AA);
    for (int stripe = 0; stripe < 12; ++stripe) {
        const int y = centre.y - int(unit * 0.25) + stripe * int(unit * 0.045);
        cv::line(rgba, {centre.x - int(unit * 0.3), y}, {centre.x + int(unit * 0.3), y + int(unit * 0.02)},
                 cv::Scalar(120, 30, 30, 255), std::max(1, int(unit * 0.006)), cv::LINE_AA);
    }
    for (int blot = 0; blot < 60; ++blot) {
        const cv::Point at(centre.x + rng.uniform(-int(unit * 0.25), int(unit * 0.25)),
                           centre.y + rng.uniform(-int(unit * 0.2), int(unit * 0.2)));
        cv::circle(rgba, at, rng.uniform(1, std::max(2, int(unit * 0.02))),
                   cv::Scalar(rng.uniform(60, 200), rng.uniform(20, 120), rng.uniform(20, 90), 255), cv::FILLED,
                   cv::LINE_AA);
    }

    // Grain of ±3 levels over everything.
    cv::Mat grain(size, CV_8UC4);
    rng.fill(grain, cv::RNG::UNIFORM, cv::Scalar(0, 0, 0, 0), cv::Scalar(7, 7, 7, 1));
    cv::add(rgba, grain, rgba);
    cv::subtract(rgba, cv::Scalar(3, 3, 3, 0), rgba);
    return Image(rgba);
}

} // namespace zephrin::testing
