#include "engine/matte/BorderConnectedKey.h"
#include "engine/matte/BorderFlood.h"
#include "engine/matte/SoftColorKey.h"
#include "engine/matte/SoftKey.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <vector>

using namespace zephrin;

namespace {

// The keying's connected-only rule written out pass by pass on plain Boolean
// planes, with a pixel-by-pixel stack flood: the reference the fast version
// must equal.
class LiteralRule {
public:
    explicit LiteralRule(const cv::Mat& keyMatte)
        : w(keyMatte.cols), h(keyMatte.rows), background(plane(keyMatte < 128))
    {}

    // The pixels the key keeps its values on: the reached backdrop and its ring.
    std::vector<bool> kept(int closeGaps) const
    {
        const int n = std::min(closeGaps, 20);
        std::vector<bool> candidates = background;
        if (n >= 1) {
            std::vector<bool> foreground(background.size());
            for (size_t i = 0; i < foreground.size(); ++i)
                foreground[i] = !background[i];
            for (int pass = 0; pass < n; ++pass)
                foreground = grown(foreground, nullptr);
            for (size_t i = 0; i < candidates.size(); ++i)
                candidates[i] = candidates[i] && !foreground[i];
        }
        std::vector<bool> reached = flood(candidates);
        for (int pass = 0; pass < n; ++pass)
            reached = grown(reached, &background);
        return grown(reached, nullptr);
    }

    // `values` where the key keeps its values, 255 elsewhere.
    cv::Mat keyed(const cv::Mat& values, int closeGaps) const
    {
        const std::vector<bool> reached = kept(closeGaps);
        cv::Mat out = values.clone();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!reached[index(x, y)])
                    out.at<uchar>(y, x) = 255;
        return out;
    }

    std::vector<bool> flood(const std::vector<bool>& candidates) const
    {
        std::vector<bool> reached(candidates.size(), false);
        std::vector<std::pair<int, int>> stack;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((x == 0 || y == 0 || x == w - 1 || y == h - 1) && candidates[index(x, y)]) {
                    reached[index(x, y)] = true;
                    stack.emplace_back(x, y);
                }
        while (!stack.empty()) {
            const auto [x, y] = stack.back();
            stack.pop_back();
            for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                    continue;
                if (candidates[index(nx, ny)] && !reached[index(nx, ny)]) {
                    reached[index(nx, ny)] = true;
                    stack.emplace_back(nx, ny);
                }
            }
        }
        return reached;
    }

    std::vector<bool> plane(const cv::Mat& mask) const
    {
        std::vector<bool> values(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                values[index(x, y)] = mask.at<uchar>(y, x) != 0;
        return values;
    }

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * w + x; }

    // One pass: a pixel (allowed by `into`, if given) joins when a 4-neighbour
    // belonged before the pass.
    std::vector<bool> grown(const std::vector<bool>& area, const std::vector<bool>* into) const
    {
        std::vector<bool> next = area;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                if (area[index(x, y)] || (into && !(*into)[index(x, y)]))
                    continue;
                next[index(x, y)] = (x > 0 && area[index(x - 1, y)]) || (x + 1 < w && area[index(x + 1, y)])
                                    || (y > 0 && area[index(x, y - 1)]) || (y + 1 < h && area[index(x, y + 1)]);
            }
        return next;
    }

    int w, h;
    std::vector<bool> background;
};

// Blobs, holes, thin walls and gaps of all sizes: smoothed noise cut at a level.
cv::Mat randomKey(cv::Size size, std::uint64_t seed)
{
    cv::RNG rng(seed);
    cv::Mat noise(size, CV_32F);
    rng.fill(noise, cv::RNG::UNIFORM, 0, 1);
    cv::GaussianBlur(noise, noise, {0, 0}, 1.2);
    cv::Mat matte;
    cv::normalize(noise, noise, 0, 255, cv::NORM_MINMAX);
    noise.convertTo(matte, CV_8U);
    return matte;
}

cv::Mat flooded(const cv::Mat& mask)
{
    return maskOf(floodFromBorder(rowRuns(mask, [](uchar v) { return v != 0; }), mask.cols), mask.size());
}

} // namespace

TEST(BorderConnectedKey, EqualsThePassByPassRule)
{
    const cv::Size sizes[] = {{37, 23}, {64, 48}, {1, 9}, {9, 1}, {2, 2}, {90, 31}};
    std::uint64_t seed = 1;
    for (const cv::Size size : sizes)
        for (int closeGaps : {0, 1, 2, 3, 6, 25}) {
            const cv::Mat key = randomKey(size, seed++);
            const LiteralRule rule(key);
            const cv::Mat expected = rule.keyed(key, closeGaps);
            const cv::Mat actual = borderConnectedKey(key, closeGaps);
            EXPECT_EQ(cv::countNonZero(expected != actual), 0) << size << " close gaps " << closeGaps;
        }
}

// Smoothed colour noise around the key: blobs of backdrop, holes and ramps;
// keys and ramps as the flat-colour keying makes them. From the pixels, one
// ramp's key equals keying them first. With a moved ramp for the values, the
// flood still takes exactly what the tolerance's own key takes for backdrop,
// and only the values follow the moved ramp.
TEST(BorderConnectedKey, FromThePixelsFloodsAtTheDecidingRamp)
{
    std::uint64_t seed = 200;
    for (const cv::Size size : {cv::Size(83, 61), cv::Size(1, 40), cv::Size(40, 1), cv::Size(300, 200)})
        for (double tolerance : {5.0, 25.0, 60.0})
            for (int closeGaps : {0, 3}) {
                SCOPED_TRACE(::testing::Message() << size << " tolerance " << tolerance << " close gaps " << closeGaps);
                cv::Mat rgb(size, CV_8UC3);
                cv::RNG rng(seed++);
                rng.fill(rgb, cv::RNG::UNIFORM, 0, 256);
                cv::GaussianBlur(rgb, rgb, {0, 0}, 2.0);
                cv::Mat rgba;
                cv::cvtColor(rgb, rgba, cv::COLOR_RGB2RGBA);
                const RGBAColor key{rng.uniform(0.35, 0.65), rng.uniform(0.35, 0.65), rng.uniform(0.35, 0.65), 1};
                const KeyRamp ramp = backdropRamp(rgba, key, tolerance);
                const cv::Mat expected = borderConnectedKey(softColorKey(rgba, key, ramp), closeGaps);
                EXPECT_EQ(cv::countNonZero(borderConnectedKey(rgba, SoftKey(key, ramp), closeGaps) != expected), 0);

                // The ramp moved halfway to the tolerance's middle: its own
                // middle lies past the tolerance, the pixels between are no
                // backdrop.
                const KeyRamp own = KeyRamp::forTolerance(tolerance);
                const double low = own.low + own.width / 4;
                const KeyRamp moved{low, own.high() - low};
                const cv::Mat ownKey = softColorKey(rgba, key, own);
                const LiteralRule rule(ownKey);
                const cv::Mat split = borderConnectedKey(rgba, SoftKey(key, moved, own), closeGaps);
                EXPECT_EQ(cv::countNonZero(split != rule.keyed(softColorKey(rgba, key, moved), closeGaps)), 0);
            }
}

TEST(BorderFlood, ReachesExactlyTheBorderConnectedComponents)
{
    std::uint64_t seed = 100;
    // The last size has tens of thousands of runs: bands of rows are joined
    // on several threads and then across the rows where they meet.
    const cv::Size sizes[] = {{50, 40}, {1, 1}, {3, 70}, {128, 3}, {400, 300}};
    for (const cv::Size size : sizes) {
        const cv::Mat key = randomKey(size, seed++);
        const LiteralRule rule(key);
        const cv::Mat backdrop = key < 128;
        const std::vector<bool> expected = rule.flood(rule.plane(backdrop));
        EXPECT_EQ(rule.plane(flooded(backdrop)), expected) << size;
    }

    // A serpentine corridor entered from the top edge: many turns, one component.
    cv::Mat snake(21, 21, CV_8UC1, cv::Scalar(0));
    snake.at<uchar>(0, 1) = 255;
    for (int row = 1; row < 20; row += 2) {
        snake.row(row).colRange(1, 20).setTo(255);
        if (row + 2 < 20)
            snake.at<uchar>(row + 1, (row / 2) % 2 == 0 ? 19 : 1) = 255;
    }
    EXPECT_EQ(cv::countNonZero(flooded(snake) != snake), 0);

    // Touching diagonally is not connected.
    cv::Mat corner(5, 5, CV_8UC1, cv::Scalar(0));
    corner.row(0).setTo(255);
    corner.at<uchar>(1, 2) = 255;
    corner.at<uchar>(2, 3) = 255;
    const cv::Mat reached = flooded(corner);
    EXPECT_EQ(reached.at<uchar>(1, 2), 255);
    EXPECT_EQ(reached.at<uchar>(2, 3), 0);
}
