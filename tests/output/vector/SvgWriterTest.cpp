#include "output/vector/Vectorizer.h"

#include "output/vector/TraceFixtures.h"
#include "support/GermanLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <random>
#include <sstream>

using namespace zephrin;

namespace {

const std::string kHeaderStart = "<svg xmlns=\"http://www.w3.org/2000/svg\" ";

CubicSegment line(Pt a, Pt b) { return {a, a, b, b}; }

TracedContour rectangle(double x0, double y0, double x1, double y1)
{
    return {{line({x0, y0}, {x0, y1}), line({x0, y1}, {x1, y1}), line({x1, y1}, {x1, y0}),
             line({x1, y0}, {x0, y0})}};
}

TraceResult tracedRectangle()
{
    return {10, 6, {{"#000000", {rectangle(0, 0, 10, 6)}, 60}}};
}

TraceOptions withFileMaker(bool fileMaker)
{
    TraceOptions options;
    options.fileMaker = fileMaker;
    return options;
}

} // namespace

TEST(SvgString, RectangleOnAPageWithATwoPercentMargin)
{
    EXPECT_EQ(Vectorizer::svgString(tracedRectangle(), withFileMaker(false)),
              kHeaderStart + "width=\"10.4\" height=\"6.4\" viewBox=\"0 0 10.4 6.4\">\n"
                             "  <path fill=\"#000000\" fill-rule=\"evenodd\" "
                             "d=\"M0.2 0.2L0.2 6.2L10.2 6.2L10.2 0.2L0.2 0.2Z\"/>\n"
                             "</svg>\n");
}

TEST(SvgString, FileMakerCentresOnASquareAndTagsPathsWithAClass)
{
    EXPECT_EQ(Vectorizer::svgString(tracedRectangle(), withFileMaker(true)),
              kHeaderStart + "width=\"11.6\" height=\"11.6\" viewBox=\"0 0 11.6 11.6\">\n"
                             "  <path class=\"fm_fill\" fill-rule=\"evenodd\" "
                             "d=\"M0.8 2.8L0.8 8.8L10.8 8.8L10.8 2.8L0.8 2.8Z\"/>\n"
                             "</svg>\n");
}

// Asked for a size, the page is drawn at it: width and height scaled, the
// viewBox and the outlines left in traced units.
TEST(SvgString, APageDrawnAtTheLongEdgeKeepsItsTracedUnits)
{
    TraceOptions options = withFileMaker(false);
    options.pageLongEdge = 1200;
    const std::string plain = Vectorizer::svgString(tracedRectangle(), options);
    EXPECT_EQ(plain.substr(0, plain.find('\n')),
              kHeaderStart + "width=\"1200\" height=\"738\" viewBox=\"0 0 10.4 6.4\">");
    EXPECT_NE(plain.find("d=\"M0.2 0.2L0.2 6.2L10.2 6.2L10.2 0.2L0.2 0.2Z\""), std::string::npos);

    options.fileMaker = true;
    const std::string square = Vectorizer::svgString(tracedRectangle(), options);
    EXPECT_EQ(square.substr(0, square.find('\n')),
              kHeaderStart + "width=\"1200\" height=\"1200\" viewBox=\"0 0 11.6 11.6\">");
}

// The page box includes control points; curves are written with both controls.
TEST(SvgString, CurvesAndTheirControlPoints)
{
    const TraceResult result{
        20, 20, {{"#12ab3C", {{{{{0, 10}, {0, 0}, {10, 0}, {10, 10}}, line({10, 10}, {0, 10})}}}, 50}}};
    EXPECT_EQ(Vectorizer::svgString(result, withFileMaker(false)),
              kHeaderStart + "width=\"10.4\" height=\"10.4\" viewBox=\"0 0 10.4 10.4\">\n"
                             "  <path fill=\"#12ab3C\" fill-rule=\"evenodd\" "
                             "d=\"M0.2 10.2C0.2 0.2 10.2 0.2 10.2 10.2L0.2 10.2Z\"/>\n"
                             "</svg>\n");
}

TEST(SvgString, EmptyLayersWriteNoPathAndTheOthersKeepTheirOrder)
{
    const TraceResult nothing{100, 50, {{"#000000", {}, 0}, {"#FFFFFF", {TracedContour{}}, 3}}};
    EXPECT_EQ(Vectorizer::svgString(nothing, withFileMaker(false)),
              kHeaderStart + "width=\"104\" height=\"54\" viewBox=\"0 0 104 54\">\n</svg>\n");
    EXPECT_EQ(Vectorizer::svgString(TraceResult{100, 50, {}}, withFileMaker(false)),
              Vectorizer::svgString(nothing, withFileMaker(false)));

    const TraceResult mixed{100, 50,
                            {{"#111111", {rectangle(0, 0, 50, 50)}, 1},
                             {"#222222", {TracedContour{}}, 1},
                             {"#333333", {TracedContour{}, rectangle(10, 10, 20, 20)}, 1}}};
    const std::string svg = Vectorizer::svgString(mixed, withFileMaker(false));
    EXPECT_EQ(svg.find("#222222"), std::string::npos);
    const auto first = svg.find("#111111"), last = svg.find("#333333");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(last, std::string::npos);
    EXPECT_LT(first, last);
    EXPECT_NE(svg.find("d=\"M11 11L11 21L21 21L21 11L11 11Z\""), std::string::npos);
}

TEST(SvgString, FillThatIsNotAColourFallsBackToBlack)
{
    for (const std::string fill : {"\"/><script>alert(1)</script><x a=\"", "red", "#12345", "#1234567", "#GG0000"}) {
        TraceResult result = tracedRectangle();
        result.layers[0].fillHex = fill;
        const std::string svg = Vectorizer::svgString(result, withFileMaker(false));
        EXPECT_NE(svg.find("<path fill=\"#000000\" "), std::string::npos) << fill;
        EXPECT_EQ(svg.find("script"), std::string::npos);
    }
}

TEST(FormatNumber, ShortestTextWithAtMostTwoDecimals)
{
    EXPECT_EQ(Vectorizer::formatNumber(12.5), "12.5");
    EXPECT_EQ(Vectorizer::formatNumber(3), "3");
    EXPECT_EQ(Vectorizer::formatNumber(100), "100");
    EXPECT_EQ(Vectorizer::formatNumber(1000.10), "1000.1");
    EXPECT_EQ(Vectorizer::formatNumber(0.004), "0");
    EXPECT_EQ(Vectorizer::formatNumber(-0.001), "0");
    EXPECT_EQ(Vectorizer::formatNumber(-0.0), "0");
    EXPECT_EQ(Vectorizer::formatNumber(-2.5), "-2.5");
    EXPECT_EQ(Vectorizer::formatNumber(-0.006), "-0.01");
    EXPECT_EQ(Vectorizer::formatNumber(1e20), "100000000000000000000");
}

// The same digits as printf's "%.2f" in the C locale, trailing zeros trimmed.
TEST(FormatNumber, RoundsAsPrintfDoes)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> any(-5000, 5000);
    std::uniform_int_distribution<int> thousandths(-20000, 20000);
    for (int i = 0; i < 4000; ++i) {
        // Half the values sit exactly on or next to a rounding tie.
        const double value = i % 2 ? any(random) : thousandths(random) / 1000.0;
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", value);
        std::string expected = text;
        while (expected.ends_with('0'))
            expected.pop_back();
        if (expected.ends_with('.'))
            expected.pop_back();
        if (expected == "-0")
            expected = "0";
        ASSERT_EQ(Vectorizer::formatNumber(value), expected) << value;
    }
}

TEST(SvgString, GermanLocaleChangesNoByte)
{
    TraceOptions options;
    options.colors = 3;
    options.detail = 0.8;
    const auto blob = zephrin::testing::painting(97, 61, [](int x, int y) {
        return zephrin::testing::inDisc(x, y, 40.3, 30.7, 25.2) ? cv::Vec3b{200, 30, 30}
               : x < 60                                ? cv::Vec3b{30, 30, 200}
                                                       : cv::Vec3b{240, 240, 240};
    });
    const TraceResult result = Vectorizer().trace(blob, options);
    const std::string plain = Vectorizer::svgString(result, options);
    ASSERT_NE(plain.find('.'), std::string::npos);

    zephrin::testing::ScopedGermanLocale german;
    std::ostringstream stream;
    stream << 0.5;
    ASSERT_EQ(stream.str(), "0,5") << "the locale did not take";
    if (!german.coversC())
        std::fprintf(stderr, "note: no German C locale here; only C++ streams use a decimal comma\n");

    EXPECT_EQ(Vectorizer().trace(blob, options), result);
    EXPECT_EQ(Vectorizer::svgString(result, options), plain);
    options.fileMaker = true;
    EXPECT_EQ(Vectorizer::svgString(result, options).find(','), std::string::npos);
}
