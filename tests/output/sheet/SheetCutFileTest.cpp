#include "output/sheet/SheetEngine.h"

#include "support/GermanLocale.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zephrin;

namespace {

CubicSegment line(Pt a, Pt b) { return {a, a, b, b}; }

const TracedContour kUnitSquare{
    {line({0, 0}, {1, 0}), line({1, 0}, {1, 1}), line({1, 1}, {0, 1}), line({0, 1}, {0, 0})}};

const std::string kLetterHeader = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8.5in\" height=\"11in\" "
                                  "viewBox=\"0 0 8.5 11\">\n"
                                  "  <g id=\"cut\" fill=\"none\" stroke=\"#FF0000\" stroke-width=\"0.005\">\n";

} // namespace

TEST(CutPathData, StraightSegmentsWithFourDecimals)
{
    EXPECT_EQ(SheetEngine::cutPathData({{"#000000", {kUnitSquare}, 1}}, 1, 1, 1, 1),
              "M1.0000 1.0000L2.0000 1.0000L2.0000 2.0000L1.0000 2.0000L1.0000 1.0000Z");
}

TEST(CutPathData, CurvesScaleAndLayersFollowWithoutSeparators)
{
    const TracedContour curve{{{{0, 0}, {4, 0}, {4, 4}, {0, 4}}, line({0, 4}, {0, 0})}};
    const std::vector<TracedLayer> layers{{"#000000", {TracedContour{}, curve}, 1}, {"#000000", {kUnitSquare}, 1}};
    EXPECT_EQ(SheetEngine::cutPathData(layers, 0.5, 0.25, 1, 2),
              "M1.0000 2.0000C3.0000 2.0000 3.0000 3.0000 1.0000 3.0000L1.0000 2.0000Z"
              "M1.0000 2.0000L1.5000 2.0000L1.5000 2.2500L1.0000 2.2500L1.0000 2.0000Z");
    EXPECT_EQ(SheetEngine::cutPathData({{"#000000", {TracedContour{}}, 0}}, 1, 1, 0, 0), "");
}

TEST(SvgNumber, FourDecimalsTrimmed)
{
    EXPECT_EQ(SheetEngine::svgNumber(8.5), "8.5");
    EXPECT_EQ(SheetEngine::svgNumber(11), "11");
    EXPECT_EQ(SheetEngine::svgNumber(8.27), "8.27");
    EXPECT_EQ(SheetEngine::svgNumber(11.69), "11.69");
    EXPECT_EQ(SheetEngine::svgNumber(0), "0");
    EXPECT_EQ(SheetEngine::svgNumber(1.23456), "1.2346");
    EXPECT_EQ(SheetEngine::svgNumber(2.00004), "2");
}

TEST(CutFile, HeaderGroupAndOnePathPerEntry)
{
    EXPECT_EQ(SheetEngine::cutFile({8.5, 11}, {}), kLetterHeader + "  </g>\n</svg>\n");
    EXPECT_EQ(SheetEngine::cutFile({8.5, 11}, {"M0.0000 0.0000L1.0000 0.0000Z", "M2.0000 2.0000L3.0000 2.0000Z"}),
              kLetterHeader +
                  "    <path d=\"M0.0000 0.0000L1.0000 0.0000Z\"/>\n"
                  "    <path d=\"M2.0000 2.0000L3.0000 2.0000Z\"/>\n"
                  "  </g>\n</svg>\n");
    EXPECT_TRUE(SheetEngine::cutFile({8.27, 11.69}, {}).starts_with(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8.27in\" height=\"11.69in\" viewBox=\"0 0 8.27 11.69\">\n"));
    EXPECT_TRUE(SheetEngine::cutFile({4, 6}, {}).starts_with(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4in\" height=\"6in\" viewBox=\"0 0 4 6\">\n"));
}

TEST(CutFile, GermanLocaleChangesNoByte)
{
    const std::vector<TracedLayer> layers{{"#000000", {kUnitSquare}, 1}};
    const std::string data = SheetEngine::cutPathData(layers, 0.0033, 0.0033, 1.25, 2.5);
    const std::string file = SheetEngine::cutFile({8.27, 11.69}, {data});
    zephrin::testing::ScopedGermanLocale german;
    std::ostringstream stream;
    stream << 0.5;
    ASSERT_EQ(stream.str(), "0,5") << "the locale did not take";
    EXPECT_EQ(SheetEngine::cutPathData(layers, 0.0033, 0.0033, 1.25, 2.5), data);
    EXPECT_EQ(SheetEngine::cutFile({8.27, 11.69}, {data}), file);
    EXPECT_EQ(file.find(','), std::string::npos);
}
