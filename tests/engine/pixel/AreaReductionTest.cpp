#include "engine/pixel/AreaReduction.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

using namespace zephrin;
using zephrin::testing::maxDifference;

// Our reduction stands in for cv::resize(INTER_AREA) where the subject's bounds
// and the matte pipeline's grids are read: it must give its bytes, for the
// ratios photos have, for a channel of an RGBA image and at whole factors.
TEST(AreaReduction, GivesTheBytesOfOpenCVsAreaResize)
{
    struct Case {
        cv::Size source, cells;
    };
    const Case cases[] = {{{4000, 3000}, {512, 384}}, {{3001, 1999}, {512, 341}}, {{1000, 700}, {512, 358}},
                          {{777, 3333}, {119, 512}},  {{2048, 1536}, {512, 384}}, {{640, 480}, {640, 13}},
                          {{5, 900}, {1, 512}}};
    for (const Case& c : cases) {
        const Image rgba = zephrin::testing::photoLikeImage(c.source, unsigned(c.source.width), true);
        for (const int channel : {0, 3}) {
            cv::Mat plane, expected;
            cv::extractChannel(rgba.pixels, plane, channel);
            cv::resize(plane, expected, c.cells, 0, 0, cv::INTER_AREA);
            const cv::Mat actual = areaReduced(rgba.pixels, channel, c.cells);
            ASSERT_EQ(actual.size(), c.cells);
            EXPECT_EQ(maxDifference(actual, expected), 0) << c.source << " to " << c.cells << ", channel " << channel;
            EXPECT_EQ(maxDifference(areaReduced(plane, 0, c.cells), expected), 0) << c.source << " grey";
        }
    }
}
