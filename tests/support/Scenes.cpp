#include "support/Scenes.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

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

namespace {

// A light ground of one colour (RGB, float), lit `light` at the top left and
// `light - fall` at the bottom right, with blotches and grain.
cv::Mat litGround(cv::Size size, cv::Vec3f colour, float light, float fall, cv::RNG& rng)
{
    const cv::Mat blotch = blotches(size, 60, rng);
    const cv::Mat fine = grain(size, 2.0, rng);
    cv::Mat ground(size, CV_32FC3);
    for (int y = 0; y < size.height; ++y) {
        cv::Vec3f* out = ground.ptr<cv::Vec3f>(y);
        for (int x = 0; x < size.width; ++x) {
            const float l = light - fall * (float(x) / float(size.width) + float(y) / float(size.height)) / 2.0f;
            const float texture = 3 * blotch.at<float>(y, x) + fine.at<float>(y, x);
            out[x] = (colour + cv::Vec3f::all(texture)) * l;
        }
    }
    return ground;
}

// Lays `colour` over `rgb` where `coverage` (CV_8UC1) is, in proportion to it.
void paintOver(cv::Mat& rgb, const cv::Mat& coverage, cv::Vec3f colour)
{
    for (int y = 0; y < rgb.rows; ++y) {
        cv::Vec3f* out = rgb.ptr<cv::Vec3f>(y);
        const uchar* c = coverage.ptr(y);
        for (int x = 0; x < rgb.cols; ++x) {
            const float a = c[x] / 255.0f;
            out[x] = out[x] * (1 - a) + colour * a;
        }
    }
}

// Darkens `rgb` by up to `depth` where the blurred `area` is.
void shadowUnder(cv::Mat& rgb, const cv::Mat& area, int blur, float depth)
{
    cv::Mat soft;
    cv::GaussianBlur(area, soft, cv::Size(), blur);
    for (int y = 0; y < rgb.rows; ++y) {
        cv::Vec3f* out = rgb.ptr<cv::Vec3f>(y);
        const uchar* s = soft.ptr(y);
        for (int x = 0; x < rgb.cols; ++x)
            out[x] *= 1 - depth * s[x] / 255.0f;
    }
}

Image opaqueFrom(const cv::Mat& rgbFloat)
{
    cv::Mat rgb;
    rgbFloat.convertTo(rgb, CV_8UC3);
    return opaque(rgb);
}

} // namespace

Scene colouredDrawingOnPaper(cv::Size size, std::uint64_t seed)
{
    cv::RNG rng(seed);
    const int unit = std::min(size.width, size.height);
    const auto at = [&](double x, double y) { return cv::Point(int(size.width * x), int(size.height * y)); };
    cv::Mat rgb = litGround(size, {238, 234, 224}, 1.03f, 0.1f, rng);

    const cv::Point bodyTopLeft = at(0.5, 0.42) - cv::Point(unit * 22 / 100, 0);
    const cv::Rect body(bodyTopLeft, cv::Size(unit * 44 / 100, unit * 34 / 100));
    const std::vector<cv::Point> roof{{body.x - unit * 4 / 100, body.y},
                                      {body.x + body.width / 2, body.y - unit * 26 / 100},
                                      {body.br().x + unit * 4 / 100, body.y}};
    const cv::Rect door(body.x + body.width / 2 - unit * 5 / 100, body.br().y - unit * 18 / 100, unit * 10 / 100,
                        unit * 18 / 100);
    const int pane = unit * 9 / 100;
    const cv::Rect windows[] = {{body.x + unit * 5 / 100, body.y + unit * 6 / 100, pane, pane},
                                {body.br().x - unit * 5 / 100 - pane, body.y + unit * 6 / 100, pane, pane}};

    // Crayon: patchy coverage, confined to the area coloured in.
    const cv::Mat patchy = blotches(size, 6, rng);
    const auto crayon = [&](const cv::Mat& area, cv::Vec3f colour) {
        cv::Mat coverage(size, CV_8UC1, cv::Scalar(0));
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                if (area.at<uchar>(y, x))
                    coverage.at<uchar>(y, x) = cv::saturate_cast<uchar>(200 + 50 * patchy.at<float>(y, x));
        paintOver(rgb, coverage, colour);
    };
    cv::Mat roofArea(size, CV_8UC1, cv::Scalar(0));
    cv::fillPoly(roofArea, std::vector<std::vector<cv::Point>>{roof}, cv::Scalar(255));
    crayon(roofArea, {200, 50, 40});
    cv::Mat doorArea(size, CV_8UC1, cv::Scalar(0));
    cv::rectangle(doorArea, door, cv::Scalar(255), cv::FILLED);
    crayon(doorArea, {125, 75, 35});
    cv::Mat paneArea(size, CV_8UC1, cv::Scalar(0));
    for (const cv::Rect& window : windows)
        cv::rectangle(paneArea, window, cv::Scalar(255), cv::FILLED);
    crayon(paneArea, {110, 170, 230});

    // The ink over it all.
    const int ink = std::max(2, unit * 14 / 1000);
    cv::Mat lines(size, CV_8UC1, cv::Scalar(0));
    cv::rectangle(lines, body, cv::Scalar(255), ink, cv::LINE_AA);
    cv::polylines(lines, std::vector<std::vector<cv::Point>>{roof}, true, cv::Scalar(255), ink, cv::LINE_AA);
    cv::rectangle(lines, door, cv::Scalar(255), ink, cv::LINE_AA);
    for (const cv::Rect& window : windows) {
        cv::rectangle(lines, window, cv::Scalar(255), ink, cv::LINE_AA);
        const int middle = window.x + pane / 2;
        cv::line(lines, {middle, window.y}, {middle, window.br().y}, cv::Scalar(255), ink / 2 + 1, cv::LINE_AA);
    }
    paintOver(rgb, lines, {35, 30, 40});

    cv::Mat shape = roofArea.clone();
    cv::rectangle(shape, body, cv::Scalar(255), cv::FILLED);
    shape |= lines > 127;
    return {opaqueFrom(rgb), shape};
}

LineArt lineArtOnPaper(cv::Size size, std::uint64_t seed)
{
    cv::RNG rng(seed);
    const int unit = std::min(size.width, size.height);
    const auto at = [&](double x, double y) { return cv::Point(int(size.width * x), int(size.height * y)); };

    // The sheet: fibres a few pixels across and a fine tooth, both bounded,
    // under light that falls off a little towards the bottom right.
    const cv::Mat fibres = blotches(size, 3, rng);
    cv::Mat tooth(size, CV_32FC1);
    rng.fill(tooth, cv::RNG::UNIFORM, -1.0, 1.0);
    const cv::Vec3f paper(238, 233, 219);
    cv::Mat rgb(size, CV_32FC3);
    for (int y = 0; y < size.height; ++y) {
        cv::Vec3f* out = rgb.ptr<cv::Vec3f>(y);
        for (int x = 0; x < size.width; ++x) {
            const float light = 1.02f - 0.04f * (float(x) / float(size.width) + float(y) / float(size.height)) / 2.0f;
            const float texture = 10 * std::clamp(fibres.at<float>(y, x), -1.0f, 1.0f) + 4 * tooth.at<float>(y, x);
            out[x] = (paper + cv::Vec3f::all(texture)) * light;
        }
    }

    const int ink = std::max(2, unit * 12 / 1000);
    const int radius = unit * 17 / 100;
    const cv::Point centre = at(0.25, 0.5);
    const cv::Rect square(at(0.42, 0.33), cv::Size(unit * 32 / 100, unit * 32 / 100));
    const std::vector<cv::Point> triangle{at(0.8, 0.25), at(0.93, 0.72), at(0.67, 0.72)};
    cv::Mat lines(size, CV_8UC1, cv::Scalar(0));
    cv::circle(lines, centre, radius, cv::Scalar(255), ink, cv::LINE_AA);
    cv::rectangle(lines, square, cv::Scalar(255), ink, cv::LINE_AA);
    cv::polylines(lines, std::vector<std::vector<cv::Point>>{triangle}, true, cv::Scalar(255), ink, cv::LINE_AA);
    paintOver(rgb, lines, {28, 26, 32});

    cv::Mat enclosed(size, CV_8UC1, cv::Scalar(0));
    cv::circle(enclosed, centre, radius, cv::Scalar(255), cv::FILLED);
    cv::rectangle(enclosed, square, cv::Scalar(255), cv::FILLED);
    cv::fillPoly(enclosed, std::vector<std::vector<cv::Point>>{triangle}, cv::Scalar(255));
    cv::Mat nearInk;
    cv::dilate(lines, nearInk, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(4 * ink + 1, 4 * ink + 1)));
    const cv::Mat clearOfInk = nearInk == 0;
    return {{opaqueFrom(rgb), lines > 127}, enclosed & clearOfInk, lines};
}

Scene whiteProductOnStudioBackdrop(cv::Size size, std::uint64_t seed)
{
    cv::RNG rng(seed);
    const int unit = std::min(size.width, size.height);
    const int centre = size.width / 2;
    // The sweep: a little darker at the top, where it curves away from the light.
    cv::Mat rgb(size, CV_32FC3);
    const cv::Mat fine = grain(size, 1.5, rng);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            rgb.at<cv::Vec3f>(y, x) = cv::Vec3f::all(240 + 10 * float(y) / float(size.height) + fine.at<float>(y, x));

    const int halfWidth = unit * 16 / 100;
    const cv::Rect body(centre - halfWidth, size.height * 28 / 100, 2 * halfWidth, size.height * 58 / 100);
    const cv::Rect neck(centre - unit * 5 / 100, size.height * 20 / 100, unit * 10 / 100, size.height * 9 / 100);
    const cv::Rect cap(centre - unit * 6 / 100, size.height * 12 / 100, unit * 12 / 100, size.height * 8 / 100);

    cv::Mat footprint(size, CV_8UC1, cv::Scalar(0));
    cv::ellipse(footprint, {centre + unit * 3 / 100, body.br().y}, {halfWidth + unit * 4 / 100, unit * 4 / 100}, 0, 0,
                360, cv::Scalar(255), cv::FILLED);
    shadowUnder(rgb, footprint, unit / 40, 0.3f);

    cv::Mat shape(size, CV_8UC1, cv::Scalar(0));
    const int radius = unit * 6 / 100;
    const cv::Scalar in(255);
    cv::rectangle(shape, cv::Rect(body.x, body.y + radius, body.width, body.height - radius), in, cv::FILLED);
    cv::rectangle(shape, cv::Rect(body.x + radius, body.y, body.width - 2 * radius, radius), in, cv::FILLED);
    for (const int x : {body.x + radius, body.br().x - radius})
        cv::circle(shape, {x, body.y + radius}, radius, in, cv::FILLED);
    cv::rectangle(shape, neck, in, cv::FILLED);
    cv::rectangle(shape, cap, in, cv::FILLED);

    // A wide white label round the grey plastic, as white as the sweep.
    const int rim = unit * 3 / 100;
    const cv::Rect label(body.x + rim, body.y + body.height * 22 / 100, body.width - 2 * rim, body.height * 62 / 100);
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            if (!shape.at<uchar>(y, x))
                continue;
            // Shaded towards the sides as a cylinder is.
            const double across = std::min(std::abs(x - centre) / double(halfWidth), 1.0);
            float value = float(150 - 40 * across * across);
            if (label.contains({x, y}))
                value = float(249 - 8 * std::pow(across, 4));
            rgb.at<cv::Vec3f>(y, x) = cv::Vec3f::all(value + fine.at<float>(y, x));
        }
    }
    return {opaqueFrom(rgb), shape};
}

Scene ringWithARealHole(cv::Size size, std::uint64_t seed)
{
    cv::RNG rng(seed);
    const int unit = std::min(size.width, size.height);
    const cv::Point centre(size.width / 2, size.height / 2);
    cv::Mat rgb = litGround(size, {228, 224, 216}, 1.02f, 0.08f, rng);

    cv::Mat ring(size, CV_8UC1, cv::Scalar(0));
    cv::circle(ring, centre, unit * 30 / 100, cv::Scalar(255), cv::FILLED, cv::LINE_AA);
    cv::circle(ring, centre, unit * 17 / 100, cv::Scalar(0), cv::FILLED, cv::LINE_AA);
    shadowUnder(rgb, ring, unit / 50, 0.25f);
    for (int y = 0; y < size.height; ++y) {
        cv::Vec3f* out = rgb.ptr<cv::Vec3f>(y);
        for (int x = 0; x < size.width; ++x) {
            const float a = ring.at<uchar>(y, x) / 255.0f;
            // Lit from the top left.
            const float lit = 1.2f - 0.5f * float(x + y - centre.x - centre.y + unit) / float(2 * unit);
            out[x] = out[x] * (1 - a) + cv::Vec3f(30, 50, 125) * lit * a;
        }
    }
    return {opaqueFrom(rgb), ring > 127};
}

double intersectionOverUnion(const cv::Mat& matte, const cv::Mat& shape)
{
    const cv::Mat found = matte > 127;
    const cv::Mat drawn = shape > 127;
    const double both = cv::countNonZero(found & drawn);
    const double either = cv::countNonZero(found | drawn);
    return either > 0 ? both / either : 0.0;
}

Scene greyDiscOnGrainyPaper(int paper, int disc, double grain)
{
    cv::Mat rgb(450, 600, CV_8UC3, cv::Scalar::all(paper));
    cv::circle(rgb, {300, 225}, 120, cv::Scalar::all(disc), cv::FILLED);
    cv::Mat noise(rgb.size(), CV_32FC3);
    cv::RNG(7).fill(noise, cv::RNG::NORMAL, 0.0, grain);
    cv::Mat grainy;
    rgb.convertTo(grainy, CV_32FC3);
    grainy += noise;
    grainy.convertTo(rgb, CV_8UC3);
    cv::Mat rgba;
    cv::cvtColor(rgb, rgba, cv::COLOR_RGB2RGBA);
    cv::Mat shape(rgb.size(), CV_8UC1, cv::Scalar(0));
    cv::circle(shape, {300, 225}, 120, cv::Scalar(255), cv::FILLED);
    return {Image(rgba), shape};
}

} // namespace zephrin::testing
