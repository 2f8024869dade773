#include "support/Scenes.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace zephrin::testing {

namespace {

// The subject's outline, scaled to the frame: an ellipse on a narrower foot.
cv::Mat subjectShape(cv::Size size)
{
    cv::Mat shape(size, CV_8UC1, cv::Scalar(0));
    const double unit = std::min(size.width, size.height);
    const cv::Point centre(int(size.width * 0.46), int(size.height * 0.45));
    cv::ellipse(shape, centre, cv::Size(int(unit * 0.22), int(unit * 0.27)), 12, 0, 360, cv::Scalar(255), cv::FILLED);
    const int footWidth = int(unit * 0.16);
    cv::rectangle(shape, cv::Rect(centre.x - footWidth / 2, centre.y + int(unit * 0.2), footWidth, int(unit * 0.18)),
                  cv::Scalar(255), cv::FILLED);
    return shape;
}

// Smooth blotches in −1 … 1, about `cell` pixels across: coarse noise blown up.
cv::Mat blotches(cv::Size size, int cell, cv::RNG& rng)
{
    cv::Mat coarse(std::max(size.height / cell, 2), std::max(size.width / cell, 2), CV_32FC1);
    rng.fill(coarse, cv::RNG::UNIFORM, -1.0, 1.0);
    cv::Mat smooth;
    cv::resize(coarse, smooth, size, 0, 0, cv::INTER_CUBIC);
    return smooth;
}

// Gaussian grain of the given deviation.
cv::Mat grain(cv::Size size, double deviation, cv::RNG& rng)
{
    cv::Mat noise(size, CV_32FC1);
    rng.fill(noise, cv::RNG::NORMAL, 0.0, deviation);
    return noise;
}

Image opaque(const cv::Mat& rgb)
{
    cv::Mat rgba;
    cv::cvtColor(rgb, rgba, cv::COLOR_RGB2RGBA);
    return Image(rgba);
}

} // namespace

Scene darkObjectOnTexture(cv::Size size, std::uint64_t seed)
{
    cv::RNG rng(seed);
    const cv::Mat blotch = blotches(size, 40, rng);
    const cv::Mat fine = grain(size, 1.0, rng);

    // Light falls from the top left: 1.15 there, 0.6 at the far corner.
    cv::Mat light(size, CV_32FC1);
    for (int y = 0; y < size.height; ++y) {
        float* row = light.ptr<float>(y);
        for (int x = 0; x < size.width; ++x)
            row[x] = 1.15f - 0.55f * (float(x) / float(size.width) + float(y) / float(size.height)) / 2.0f;
    }

    const cv::Mat shape = subjectShape(size);
    const cv::Vec3f ground(205, 178, 140);
    const cv::Vec3f object(42, 36, 48);
    cv::Mat rgb(size, CV_8UC3);
    for (int y = 0; y < size.height; ++y) {
        const float* b = blotch.ptr<float>(y);
        const float* g = fine.ptr<float>(y);
        const float* l = light.ptr<float>(y);
        const uchar* s = shape.ptr(y);
        cv::Vec3b* out = rgb.ptr<cv::Vec3b>(y);
        for (int x = 0; x < size.width; ++x) {
            const bool inside = s[x] != 0;
            const cv::Vec3f base = inside ? object : ground;
            const float texture = inside ? 4 * g[x] : 22 * b[x] + 9 * g[x];
            for (int c = 0; c < 3; ++c)
                out[x][c] = cv::saturate_cast<uchar>((base[c] + texture) * (inside ? 1.0f : l[x]));
        }
    }
    return {opaque(rgb), shape};
}

Scene bustCutByTheFrame(cv::Size size, std::uint64_t seed)
{
    cv::RNG rng(seed);
    const int unit = std::min(size.width, size.height);
    const cv::Mat blotch = blotches(size, 30, rng);
    const cv::Mat fine = grain(size, 4.0, rng);

    const int centre = size.width * int(40 + seed % 4 * 5) / 100;
    cv::Mat head(size, CV_8UC1, cv::Scalar(0));
    cv::ellipse(head, {centre, size.height * 38 / 100}, {unit * 11 / 100, unit * 14 / 100}, 0, 0, 360, cv::Scalar(255),
                cv::FILLED);
    cv::Mat body(size, CV_8UC1, cv::Scalar(0));
    cv::ellipse(body, {centre, size.height}, {unit * 30 / 100, unit * 42 / 100}, 0, 180, 360, cv::Scalar(255),
                cv::FILLED);

    const int floorLine = size.height * 65 / 100;
    cv::Mat rgb(size, CV_8UC3);
    for (int y = 0; y < size.height; ++y) {
        cv::Vec3b* out = rgb.ptr<cv::Vec3b>(y);
        for (int x = 0; x < size.width; ++x) {
            if (body.at<uchar>(y, x)) {
                out[x] = cv::Vec3b(42, 70, cv::saturate_cast<uchar>(150 + fine.at<float>(y, x)));
            } else if (head.at<uchar>(y, x)) {
                out[x] = cv::Vec3b(uchar(225 - y / 20), uchar(175 - y / 25), 140);
            } else {
                const float light = 1.1f - 0.4f * float(x) / float(size.width);
                const cv::Vec3f base = y < floorLine ? cv::Vec3f(170, 180, 190) : cv::Vec3f(150, 110, 70);
                const float texture = 15 * blotch.at<float>(y, x) + fine.at<float>(y, x);
                for (int c = 0; c < 3; ++c)
                    out[x][c] = cv::saturate_cast<uchar>((base[c] + texture) * light);
            }
        }
    }
    return {opaque(rgb), head | body};
}

Scene objectOnFlatPage(cv::Size size, std::uint64_t seed)
{
    cv::RNG rng(seed);
    const cv::Mat fine = grain(size, 1.5, rng);
    const cv::Mat shape = subjectShape(size);
    cv::Mat rgb(size, CV_8UC3);
    for (int y = 0; y < size.height; ++y) {
        const float* g = fine.ptr<float>(y);
        const uchar* s = shape.ptr(y);
        cv::Vec3b* out = rgb.ptr<cv::Vec3b>(y);
        for (int x = 0; x < size.width; ++x) {
            const cv::Vec3f base = s[x] ? cv::Vec3f(30, 90, 200) : cv::Vec3f(246, 245, 242);
            for (int c = 0; c < 3; ++c)
                out[x][c] = cv::saturate_cast<uchar>(base[c] + g[x]);
        }
    }
    return {opaque(rgb), shape};
}

TwoSubjects darkObjectAndBlueDisc(cv::Size size, std::uint64_t seed)
{
    TwoSubjects scene{darkObjectOnTexture(size, seed), cv::Mat(size, CV_8UC1, cv::Scalar(0)), {}};
    const int radius = std::min(size.width, size.height) * 11 / 90;
    const cv::Point centre(size.width * 5 / 6, size.height * 5 / 18);
    cv::circle(scene.disc, centre, radius, cv::Scalar(255), cv::FILLED);
    scene.scene.image.pixels.setTo(cv::Scalar(30, 60, 190, 255), scene.disc);
    scene.aroundDisc = cv::Rect(centre.x - radius * 3 / 2, centre.y - radius * 3 / 2, radius * 3, radius * 3);
    return scene;
}

double intersectionOverUnion(const cv::Mat& matte, const cv::Mat& shape)
{
    const cv::Mat found = matte > 127;
    const cv::Mat drawn = shape > 127;
    const double both = cv::countNonZero(found & drawn);
    const double either = cv::countNonZero(found | drawn);
    return either > 0 ? both / either : 0.0;
}

} // namespace zephrin::testing
